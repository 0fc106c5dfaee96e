// The send action of the SMTP engine: envelope, header block, text, and the final ".".

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "inet/engine_errors.h"
#include "inet/smtp_address.h"
#include "inet/smtp_engine.h"
#include "inet/smtp_message.h"

namespace inet {

namespace {

// Progress is reported (and the inactivity limit re-armed by it) only while data goes out.
class TransferScope {
public:
    explicit TransferScope(MessageConnection& c) : c_(c) { c_.SetTransferState(1); }
    ~TransferScope() { c_.SetTransferState(0); }
    TransferScope(const TransferScope&) = delete;
    TransferScope& operator=(const TransferScope&) = delete;

private:
    MessageConnection& c_;
};

}  // namespace

// From and To are checked before anything goes to the server.
int SmtpEngine::SendMail(std::string_view verb) {
    const Mail mail{from_.str(),    sendTo_.str(),       cc_.str(),          bcc_.str(),
                    replyTo_.str(), date_.str(),         subject_.str(),     otherHeaders_.str(),
                    messageText_.str(), messageFile_.str()};
    if (mail.from.empty()) return Fail(kErrSmtpNoSender, kTextSmtpNoSender);
    if (mail.sendTo.empty()) return Fail(kErrSmtpNoRecipient, kTextSmtpNoRecipient);
    if (int code = EnsureConnected()) return code;
    if (int code = Exchange("RSET")) return code;
    if (int code = Exchange(std::string(verb) + " FROM:" + SmtpSenderArgument(mail.from))) return code;
    if (int code = SendRecipients(mail)) return code;
    if (int code = Exchange("DATA")) return code;

    TransferScope transfer(*this);
    std::string header = SmtpHeaderBlock({mail.sendTo, mail.from, mail.subject, mail.replyTo, mail.date, mail.cc,
                                          mail.otherHeaders});
    if (int code = SendData(header)) return code;
    if (int code = SendMessageText(mail.text)) return code;
    if (int code = SendMessageFile(mail.file)) return code;
    // A line end always goes before ".", also after a text that ends in one (the message
    // then ends in an empty line).
    if (int code = SendData("\r\n")) return code;
    return Exchange(".");
}

// A refused blind copy is reported and skipped; any other refusal ends the send.
int SmtpEngine::SendRecipients(const Mail& mail) {
    const struct {
        const std::string& list;
        bool blind;
    } lists[] = {{mail.sendTo, false}, {mail.cc, false}, {mail.bcc, true}};
    for (const auto& [list, blind] : lists) {
        for (const std::string& address : SmtpAddressList(list)) {
            int code = Exchange("RCPT TO:<" + address + ">");
            if (code == kErrSmtpReply && blind) {
                Raise(SmtpEventId::Error, code, LastReply().str());
                continue;
            }
            if (code) return code;
        }
    }
    return 0;
}

int SmtpEngine::SendData(std::string_view data) {
    if (data.empty()) return 0;
    progressBytes_ = 0;
    if (int code = SendAll(data.data(), data.size())) return code;
    SetDeadline();
    return 0;
}

int SmtpEngine::SendMessageText(const std::string& text) {
    if (text.empty()) return 0;
    Raise(SmtpEventId::StartTransfer);
    std::string stuffed;
    SmtpDotStuffer().Stuff(text, stuffed);
    for (std::size_t sent = 0; sent < stuffed.size();) {
        std::size_t piece = std::min(kTextPiece, stuffed.size() - sent);
        if (int code = SendData(std::string_view(stuffed).substr(sent, piece))) return code;
        sent += piece;
        Raise(SmtpEventId::Transfer, static_cast<int>(sent));
    }
    Raise(SmtpEventId::EndTransfer);
    return 0;
}

int SmtpEngine::SendMessageFile(const std::string& name) {
    if (name.empty()) return 0;
    Raise(SmtpEventId::StartTransfer);
    int fd = open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return Fail(kErrFileAccess, kTextSmtpOpenFile);
    SmtpDotStuffer stuffer;
    char piece[kFilePiece];
    std::size_t read = 0;
    int code = 0;
    for (;;) {
        ssize_t n = ::read(fd, piece, sizeof piece);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) code = Fail(kErrFileAccess, kTextSmtpOpenFile);
        if (n <= 0) break;
        std::string stuffed;
        stuffer.Stuff({piece, static_cast<std::size_t>(n)}, stuffed);
        if ((code = SendData(stuffed)) != 0) break;
        read += static_cast<std::size_t>(n);
        Raise(SmtpEventId::Transfer, static_cast<int>(read));
    }
    close(fd);
    if (code == 0) Raise(SmtpEventId::EndTransfer);
    return code;
}

}  // namespace inet
