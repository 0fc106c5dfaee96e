#pragma once
// The component through which the program sends mail: it keeps the recipient lists and
// the message text as lists of lines, hands them to its SMTP engine when an action runs,
// raises EtvxSMTP for the engine's failures and turns the engine's events into its own.
// Every action is synchronous: SetAction returns when the exchange is over, and the
// thread's loop keeps running meanwhile (its timers and tasks, and these events).
//
// The component belongs to the thread that created it. Its mail server is always reached
// on port 25.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "inet/smtp_engine.h"
#include "inet/tvx_core.h"

namespace inet {

enum TtvxsmtpActions : std::uint8_t {
    smtpIdle,
    smtpConnect,
    smtpDisconnect,
    smtpSend,
    smtpResetHeaders,
    smtpExpand,
    smtpVerify,
    smtpSendToTerminalAndEmail,
    smtpSendToTerminalOrEmail,
    smtpSendToTerminalOnly,
};

// Of a protocol-trail line: the command sent, the reply received, the engine's note.
enum TPIDirections { pidCommand, pidReply, pidNote };

class TtvxSMTP : public TtvxCore {
public:
    using TStrings = std::vector<std::string>;
    using TNotifyEvent = std::function<void(TtvxSMTP& Sender)>;
    using TErrorEvent = std::function<void(TtvxSMTP& Sender, int ErrorCode, const std::string& Description)>;
    using TExpandEvent = std::function<void(TtvxSMTP& Sender, const std::string& Address)>;
    using TPITrailEvent = std::function<void(TtvxSMTP& Sender, TPIDirections Direction, const std::string& Message)>;
    using TTransferEvent = std::function<void(TtvxSMTP& Sender, int BytesTransferred)>;

    // Raises EtvxSMTP -1 "Portivo SMTP: Error creating component" when the engine cannot be made.
    TtvxSMTP();
    ~TtvxSMTP() override;
    TtvxSMTP(const TtvxSMTP&) = delete;
    TtvxSMTP& operator=(const TtvxSMTP&) = delete;

    // The one operation that talks to the server (see SmtpEngine::DoAction). smtpIdle only
    // interrupts the running action: the lists are left alone then, so a running send
    // keeps what it was given.
    TtvxsmtpActions Action() const;
    void SetAction(TtvxsmtpActions action);

    // Recipient lists: one address (or list of addresses) per line, joined with ", ".
    TStrings& BCc() { return bcc_; }
    TStrings& Cc() { return cc_; }
    TStrings& SendTo() { return sendTo_; }
    // Lines of the text, each sent followed by CR LF.
    TStrings& MessageText() { return messageText_; }
    void SetMessageText(const TStrings& lines);

    std::string Date() const { return GetText(SmtpProperty::Date); }
    void SetDate(std::string_view value) { SetText(SmtpProperty::Date, value); }
    std::string From() const { return GetText(SmtpProperty::From); }
    void SetFrom(std::string_view value) { SetText(SmtpProperty::From, value); }
    std::string ReplyTo() const { return GetText(SmtpProperty::ReplyTo); }
    void SetReplyTo(std::string_view value) { SetText(SmtpProperty::ReplyTo, value); }
    std::string Subject() const { return GetText(SmtpProperty::Subject); }
    void SetSubject(std::string_view value) { SetText(SmtpProperty::Subject, value); }
    // Resolved when set (a blocking look-up); reads back as the dotted address.
    std::string MailServer() const { return GetText(SmtpProperty::MailServer); }
    void SetMailServer(std::string_view value) { SetText(SmtpProperty::MailServer, value); }

    std::string LastReply() const { return GetText(SmtpProperty::LastReply); }
    // The local address while connected, else the machine's host name.
    std::string LocalHost() const { return GetText(SmtpProperty::LocalHost); }
    std::string WinsockInfo() const { return GetText(SmtpProperty::WinsockInfo); }
    std::string WinsockStatus() const { return GetText(SmtpProperty::WinsockStatus); }
    bool WinsockLoaded() const { return engine_->GetNumber(SmtpProperty::WinsockLoaded) != 0; }
    void SetWinsockLoaded(bool on);

    TNotifyEvent OnEndTransfer;
    TErrorEvent OnError;  // errors that do not end the action: a refused BCc, connection notes
    TExpandEvent OnExpand;
    TPITrailEvent OnPITrail;
    TNotifyEvent OnStartTransfer;
    TTransferEvent OnTransfer;

protected:
    std::exception_ptr CreateException(int code, const std::string& text) const override;
    std::string EngineLastError() const override;
    // For tests: the port and the inactivity limit, which the program leaves as they are.
    SmtpEngine& Engine() { return *engine_; }

private:
    std::string GetText(SmtpProperty id) const { return engine_->Get(id); }
    void SetText(SmtpProperty id, std::string_view value);
    void Check(int code) const;
    void Dispatch(const SmtpEvent& event);

    TStrings bcc_, cc_, messageText_, sendTo_;
    std::unique_ptr<SmtpEngine> engine_;
};

}  // namespace inet
