#include "inet/tvx_smtp.h"

namespace inet {

namespace {

std::string Joined(const TtvxSMTP::TStrings& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) text += (i ? ", " : "") + lines[i];
    return text;
}

// Every line followed by CR LF.
std::string ListText(const TtvxSMTP::TStrings& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

// Split at CR LF, CR or LF; a line end at the very end starts no further line.
TtvxSMTP::TStrings Lines(const std::string& text) {
    TtvxSMTP::TStrings lines;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
        if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') ++start;
    }
    return lines;
}

}  // namespace

TtvxSMTP::TtvxSMTP() : engine_(SmtpCreate([this](const SmtpEvent& event) { Dispatch(event); })) {
    if (!engine_) RaiseError(-1, "Portivo SMTP: Error creating component");
}

TtvxSMTP::~TtvxSMTP() = default;

std::exception_ptr TtvxSMTP::CreateException(int code, const std::string& text) const {
    return std::make_exception_ptr(EtvxSMTP(code, text));
}

std::string TtvxSMTP::EngineLastError() const { return engine_ ? engine_->LastError() : std::string(); }

void TtvxSMTP::Check(int code) const {
    if (code != 0) RaiseError(code);
}

void TtvxSMTP::SetText(SmtpProperty id, std::string_view value) { Check(engine_->Set(id, value)); }

void TtvxSMTP::SetWinsockLoaded(bool on) { Check(engine_->SetNumber(SmtpProperty::WinsockLoaded, on ? 1 : 0)); }

void TtvxSMTP::SetMessageText(const TStrings& lines) {
    SetText(SmtpProperty::MessageText, ListText(lines));
    messageText_ = lines;
}

TtvxsmtpActions TtvxSMTP::Action() const { return static_cast<TtvxsmtpActions>(engine_->CurrentAction()); }

void TtvxSMTP::SetAction(TtvxsmtpActions action) {
    if (action == smtpIdle) {
        Check(engine_->DoAction(SmtpAction::Idle));
        return;
    }
    SetText(SmtpProperty::BCc, Joined(bcc_));
    SetText(SmtpProperty::Cc, Joined(cc_));
    SetText(SmtpProperty::MessageText, ListText(messageText_));
    SetText(SmtpProperty::SendTo, Joined(sendTo_));
    Check(engine_->DoAction(static_cast<SmtpAction>(action)));
    for (auto [id, list] : {std::pair{SmtpProperty::BCc, &bcc_}, {SmtpProperty::Cc, &cc_}, {SmtpProperty::SendTo, &sendTo_}})
        if (engine_->Get(id).empty()) list->clear();
    messageText_ = Lines(engine_->Get(SmtpProperty::MessageText));
}

void TtvxSMTP::Dispatch(const SmtpEvent& event) {
    switch (event.id) {
    case SmtpEventId::EndTransfer:
        if (OnEndTransfer) OnEndTransfer(*this);
        break;
    case SmtpEventId::Error:
        if (OnError) OnError(*this, event.number, event.text);
        break;
    case SmtpEventId::Expand:
        if (OnExpand) OnExpand(*this, event.text);
        break;
    case SmtpEventId::PITrail:
        if (OnPITrail) OnPITrail(*this, static_cast<TPIDirections>(event.number), event.text);
        break;
    case SmtpEventId::StartTransfer:
        if (OnStartTransfer) OnStartTransfer(*this);
        break;
    case SmtpEventId::Transfer:
        if (OnTransfer) OnTransfer(*this, event.number);
        break;
    }
}

}  // namespace inet
