#pragma once
// The SMTP client engine behind TtvxSMTP: connects to a mail server and greets it, sends
// one message (envelope, header block, text) and quits, each step a synchronous command
// and reply exchange over the message layer. It also offers EXPN and VRFY, and echoes
// every command and reply line through the PITrail event. No authentication, MIME or
// attachments.
//
// Properties are read and written by id (SmtpProperty), as the component does; results
// are 0 or a code that always comes with a last-error text.
//
// A server that stops answering cannot hang an action: every wait ends with 301 once
// nothing has been received or sent for the time-out (30 s unless set otherwise), and one
// that keeps answering cannot either: no command exchange lasts past kExchangeLimitMs.
// Either way the connection is closed, as it is after a reply line too long to keep.
//
// The engine belongs to the thread that created it; its events are raised on that thread,
// inside the waits of the running action (or from the thread's loop for a close by the
// server between actions).

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "inet/engine_string.h"
#include "inet/message_connection.h"
#include "inet/smtp_ids.h"

namespace inet {

struct SmtpEvent {
    SmtpEventId id;
    int number = 0;  // the code, trail direction or byte count
    std::string text;
};

class SmtpEngine : public MessageConnection {
public:
    using Callback = std::function<void(const SmtpEvent&)>;

    static constexpr std::uint32_t kInactivityLimitMs = 30000;
    // The most one command exchange (the command and its whole reply) may take, however
    // steadily the server keeps sending: four times the inactivity limit.
    static constexpr std::uint32_t kExchangeLimitMs = 4 * kInactivityLimitMs;
    static constexpr std::uint16_t kMailPort = 25;
    static constexpr std::size_t kTextPiece = 8192;
    static constexpr std::size_t kFilePiece = 2048;
    static constexpr std::size_t kMaxEcho = 512;

    explicit SmtpEngine(Callback callback);
    ~SmtpEngine() override;

    // Runs the action to its end. Idle interrupts the running action (which then ends with
    // 301) and is the only action accepted while another runs (166 otherwise).
    int DoAction(SmtpAction action);
    // For tests: a shorter limit for each exchange.
    void SetExchangeLimit(std::uint32_t ms) { exchangeLimitMs_ = ms; }
    SmtpAction CurrentAction() const { return action_; }

    // Text properties; a number property reads as "" and cannot be set as text (10022).
    // Setting Command sends the text as one command (connecting first when needed) and
    // answers that exchange's result.
    std::string Get(SmtpProperty id);
    int Set(SmtpProperty id, std::string_view value);
    // Number properties: Action (read only), EhloFirst, MailPort, Socket, WinsockLoaded,
    // MaxSockets, MaxUdpDatagram; any other id reads as 0 and cannot be set (10022).
    std::uint32_t GetNumber(SmtpProperty id);
    int SetNumber(SmtpProperty id, std::uint32_t value);

protected:
    void ConnectedText(int code, const std::string& text) override;
    void DisconnectedText(int code, const std::string& text) override;
    int OnDataIn(const char* data, std::size_t length, bool endOfLine) override;
    int Progress(std::uint32_t bytes) override;

private:
    // What a send works from: copied at its start, so that a handler that changes a
    // property while the send waits changes the next send only.
    class Running;
    class ExchangeLimit;
    struct Mail {
        std::string from, sendTo, cc, bcc, replyTo, date, subject, otherHeaders, text, file;
    };
    using LineHook = std::function<void(std::string_view line)>;

    EngineString* TextField(SmtpProperty id);
    int Run(SmtpAction action);
    int RunCommand(std::string_view line);
    int ConnectAction();
    int EnsureConnected() { return Connected() ? 0 : ConnectAction(); }
    int DisconnectAction();
    int ExpandAction();
    int VerifyAction();
    void ResetHeaders();
    // One command and its whole reply: continuation and preliminary lines are read on to
    // the last line; 2xx or 3xx is success, anything else 161 with the line as the text.
    // onSuccessLine sees every 2xx line (continuations included).
    int Exchange(std::string_view verb, std::string_view argument = {}, const LineHook& onSuccessLine = {});

    // smtp_send.cpp
    int SendMail(std::string_view verb);
    int SendRecipients(const Mail& mail);
    int SendData(std::string_view data);
    int SendMessageText(const std::string& text);
    int SendMessageFile(const std::string& name);

    int Fail(int code, const char* text);
    void Raise(SmtpEventId id, int number = 0, std::string text = {});
    void Trail(SmtpTrail direction, std::string text) { Raise(SmtpEventId::PITrail, static_cast<int>(direction), std::move(text)); }

    Callback callback_;
    SmtpAction action_ = SmtpAction::Idle;
    bool busy_ = false;  // an action or a command runs
    bool ehloFirst_ = true;
    EngineString from_, sendTo_, cc_, bcc_, replyTo_, date_, subject_, otherHeaders_, messageText_;
    EngineString messageFile_;
    EngineString heloName_;
    std::uint32_t progressBytes_ = 0;  // of the running SendAll
    std::uint32_t exchangeLimitMs_ = kExchangeLimitMs;
};

// The engine, or null when it cannot be made (no memory, no message loop for the thread).
std::unique_ptr<SmtpEngine> SmtpCreate(SmtpEngine::Callback callback);

}  // namespace inet
