#include "inet/smtp_engine.h"

#include <algorithm>
#include <chrono>
#include <exception>

#include "inet/engine_errors.h"
#include "inet/smtp_message.h"
#include "inet/winsock_binding.h"
#include "platform/socket_errors.h"
#include "platform/socket_resolver.h"

namespace inet {

std::unique_ptr<SmtpEngine> SmtpCreate(SmtpEngine::Callback callback) {
    try {
        return std::make_unique<SmtpEngine>(std::move(callback));
    } catch (const std::exception&) {
        return nullptr;
    }
}

SmtpEngine::SmtpEngine(Callback callback) : callback_(std::move(callback)) {
    // A line ends at CR or LF, and the run of line ends after it is skipped.
    if (SetEOL("\r\n", true) != 0) throw std::bad_alloc();
    SetRemotePort(kMailPort);
    SetTimeout(kInactivityLimitMs);
}

SmtpEngine::~SmtpEngine() = default;

void SmtpEngine::Raise(SmtpEventId id, int number, std::string text) {
    if (callback_) callback_(SmtpEvent{id, number, std::move(text)});
}

int SmtpEngine::Fail(int code, const char* text) {
    SetLastError(text);
    return code;
}

// Marks an action (or a command) as running for as long as it runs, even when a handler's
// exception ends it.
class SmtpEngine::Running {
public:
    Running(SmtpEngine& engine, SmtpAction shown) : engine_(engine), scope_(engine) {
        engine_.busy_ = true;
        engine_.action_ = shown;
        engine_.SetDeadline();
    }
    ~Running() {
        engine_.busy_ = false;
        engine_.action_ = SmtpAction::Idle;
    }
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;

private:
    SmtpEngine& engine_;
    ActionScope scope_;
};

int SmtpEngine::DoAction(SmtpAction action) {
    if (action == SmtpAction::Idle) {
        Interrupt();
        return 0;
    }
    if (busy_) return Fail(kErrSmtpBusy, kTextSmtpBusy);
    ClearLastError();
    Running running(*this, action);
    return SetError(Run(action));
}

int SmtpEngine::Run(SmtpAction action) {
    switch (action) {
    case SmtpAction::Idle:
        return 0;
    case SmtpAction::Connect:
        return ConnectAction();
    case SmtpAction::Disconnect:
        return DisconnectAction();
    case SmtpAction::Send:
        return SendMail("MAIL");
    case SmtpAction::SendToTerminalAndEmail:
        return SendMail("SAML");
    case SmtpAction::SendToTerminalOrEmail:
        return SendMail("SOML");
    case SmtpAction::SendToTerminalOnly:
        return SendMail("SEND");
    case SmtpAction::ResetHeaders:
        ResetHeaders();
        return 0;
    case SmtpAction::Expand:
        return ExpandAction();
    case SmtpAction::Verify:
        return VerifyAction();
    }
    return platform::wsa::kInvalidArgument;
}

// A command set as a property runs as an action of its own.
int SmtpEngine::RunCommand(std::string_view line) {
    if (busy_) return Fail(kErrSmtpBusy, kTextSmtpBusy);
    Running running(*this, SmtpAction::Idle);
    int code = EnsureConnected();
    return code ? code : Exchange(line);
}

int SmtpEngine::ConnectAction() {
    if (!Connected()) {
        Trail(SmtpTrail::Note, "Connecting to mail server.");
        if (int code = ConnectAndWait()) return code;
        if (int code = Exchange({})) return code;  // the greeting
    }
    if (heloName_.empty()) {
        std::string name;
        if (platform::LocalHostName(name) == 0) heloName_.Set(std::string_view(name).substr(0, 100));
    }
    std::string name = heloName_.str();
    if (ehloFirst_) {
        int code = Exchange("EHLO", name);
        if (code != kErrSmtpReply) return code;  // only a refusal is worth the older greeting
    }
    return Exchange("HELO", name);
}

int SmtpEngine::DisconnectAction() {
    int result = 0;
    if (Connected()) {
        result = Exchange("QUIT");
        if (result == kErrInterrupted) {
            result = 0;  // the server may close without a reply
        } else if (result != 0) {
            Trail(SmtpTrail::Note, "Forcing disconnection from mail server.");
        }
    }
    Connect(false);
    return result;
}

int SmtpEngine::ExpandAction() {
    if (int code = EnsureConnected()) return code;
    return Exchange("EXPN", sendTo_.str(), [this](std::string_view line) {
        Raise(SmtpEventId::Expand, 0, std::string(line.substr(std::min<std::size_t>(4, line.size()))));
    });
}

int SmtpEngine::VerifyAction() {
    if (int code = EnsureConnected()) return code;
    int code = Exchange("VRFY", sendTo_.str());
    if (code == 0) code = sendTo_.Set(LastReply().view().substr(std::min<std::size_t>(4, LastReply().size())));
    return code;
}

void SmtpEngine::ResetHeaders() {
    for (EngineString* field : {&from_, &sendTo_, &cc_, &bcc_, &replyTo_, &date_, &subject_, &otherHeaders_,
                                &messageText_, &messageFile_})
        field->Clear();
}

// Bounds one exchange as a whole: the inactivity limit is re-armed by every line, so a server
// that keeps sending would otherwise hold the action for ever.
class SmtpEngine::ExchangeLimit {
public:
    explicit ExchangeLimit(SmtpEngine& engine) : engine_(engine) {
        engine_.SetDeadlineCap(std::chrono::steady_clock::now() + std::chrono::milliseconds(engine_.exchangeLimitMs_));
        engine_.SetDeadline();
    }
    ~ExchangeLimit() { engine_.SetDeadlineCap(std::nullopt); }
    ExchangeLimit(const ExchangeLimit&) = delete;
    ExchangeLimit& operator=(const ExchangeLimit&) = delete;

private:
    SmtpEngine& engine_;
};

int SmtpEngine::Exchange(std::string_view verb, std::string_view argument, const LineHook& onSuccessLine) {
    ExchangeLimit limit(*this);
    std::string command = SingleLine(verb), value = SingleLine(argument);
    std::string echo = command.substr(0, kMaxEcho);
    if (!value.empty() && command.size() < kMaxEcho) {
        echo += ' ';
        echo += value.substr(0, kMaxEcho - echo.size());
    }
    Trail(SmtpTrail::Command, std::move(echo));
    int code = SendCommand(command, value);
    while (code == 0) {
        std::string line = LastReply().str();
        Trail(SmtpTrail::Reply, line);
        char kind = line.empty() ? '\0' : line[0];
        if (kind == '2' && onSuccessLine) onSuccessLine(line);
        if ((line.size() > 3 && line[3] == '-') || kind == '1') {
            code = WaitReply();  // a continuation, or a preliminary reply: the answer goes on
        } else if (kind == '2' || kind == '3') {
            return 0;
        } else {
            SetLastError(line);
            return kErrSmtpReply;
        }
    }
    // A reply line too long to keep leaves the rest of it unread: the connection cannot be
    // used again.
    if (code == kErrOutOfMemory) Connect(false);
    return code;
}

void SmtpEngine::ConnectedText(int code, const std::string& text) {
    if (code == 0)
        Trail(SmtpTrail::Note, "Connected.");
    else
        Raise(SmtpEventId::Error, kErrSmtpConnection, "Failed to connect: " + text);
}

void SmtpEngine::DisconnectedText(int code, const std::string& text) {
    if (code == 0)
        Trail(SmtpTrail::Note, "Disconnected.");
    else
        Raise(SmtpEventId::Error, kErrSmtpConnection, "Disconnected " + text);
}

// Every received piece and every sent piece re-arms the inactivity limit.
int SmtpEngine::OnDataIn(const char* data, std::size_t length, bool endOfLine) {
    SetDeadline();
    return MessageConnection::OnDataIn(data, length, endOfLine);
}

int SmtpEngine::Progress(std::uint32_t bytes) {
    if (bytes != progressBytes_) SetDeadline();  // a wait without progress re-arms nothing
    progressBytes_ = bytes;
    return 0;
}

EngineString* SmtpEngine::TextField(SmtpProperty id) {
    switch (id) {
    case SmtpProperty::MessageFile: return &messageFile_;
    case SmtpProperty::BCc: return &bcc_;
    case SmtpProperty::Cc: return &cc_;
    case SmtpProperty::Date: return &date_;
    case SmtpProperty::From: return &from_;
    case SmtpProperty::HeloName: return &heloName_;
    case SmtpProperty::MessageText: return &messageText_;
    case SmtpProperty::OtherHeaders: return &otherHeaders_;
    case SmtpProperty::ReplyTo: return &replyTo_;
    case SmtpProperty::Subject: return &subject_;
    case SmtpProperty::SendTo: return &sendTo_;
    default: return nullptr;
    }
}

std::string SmtpEngine::Get(SmtpProperty id) {
    if (EngineString* field = TextField(id)) return field->str();
    switch (id) {
    case SmtpProperty::LastReply: return LastReply().str();
    case SmtpProperty::LocalHost: return GetLocalHost();
    case SmtpProperty::MailServer: return GetRemoteHost();
    case SmtpProperty::WinsockInfo: return winsock::Info();
    case SmtpProperty::WinsockPath: return winsock::Path();
    case SmtpProperty::WinsockStatus: return winsock::Status();
    default: return {};
    }
}

int SmtpEngine::Set(SmtpProperty id, std::string_view value) {
    ClearLastError();
    int code = platform::wsa::kInvalidArgument;
    if (EngineString* field = TextField(id)) {
        code = field->Set(value);
    } else if (id == SmtpProperty::MailServer) {
        code = SetRemoteHost(std::string(value));
    } else if (id == SmtpProperty::WinsockPath) {
        winsock::SetPath(std::string(value));
        code = 0;
    } else if (id == SmtpProperty::Command) {
        code = RunCommand(value);
    }
    return SetError(code);
}

std::uint32_t SmtpEngine::GetNumber(SmtpProperty id) {
    switch (id) {
    case SmtpProperty::Action: return static_cast<std::uint32_t>(action_);
    case SmtpProperty::EhloFirst: return ehloFirst_ ? 1 : 0;
    case SmtpProperty::MailPort: return RemotePort();
    case SmtpProperty::Socket: return static_cast<std::uint32_t>(Socket());
    case SmtpProperty::WinsockLoaded: return WinsockLoaded() ? 1 : 0;
    case SmtpProperty::MaxSockets: return winsock::MaxSockets();
    case SmtpProperty::MaxUdpDatagram: return winsock::MaxUdpDatagram();
    default: return 0;
    }
}

int SmtpEngine::SetNumber(SmtpProperty id, std::uint32_t value) {
    ClearLastError();
    int code = 0;
    switch (id) {
    case SmtpProperty::EhloFirst:
        ehloFirst_ = value != 0;
        break;
    case SmtpProperty::MailPort:
        code = SetRemotePort(static_cast<std::uint16_t>(value));
        break;
    case SmtpProperty::WinsockLoaded:
        SetWinsockLoaded(value != 0);
        break;
    default:
        code = platform::wsa::kInvalidArgument;
        break;
    }
    return SetError(code);
}

}  // namespace inet
