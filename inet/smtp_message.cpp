#include "inet/smtp_message.h"

namespace inet {

std::string SingleLine(std::string_view text) {
    std::string line;
    line.reserve(text.size());
    for (char c : text)
        if (c != '\r' && c != '\n') line += c;
    return line;
}

std::string SmtpHeaderBlock(const SmtpHeaderFields& fields) {
    std::string block = "To: " + SingleLine(fields.to) + "\r\nFrom: " + SingleLine(fields.from) + "\r\n";
    auto optional = [&block](const char* name, std::string_view value) {
        if (!value.empty()) block += name + SingleLine(value) + "\r\n";
    };
    optional("Subject: ", fields.subject);
    optional("Reply-To: ", fields.replyTo);
    optional("Date: ", fields.date);
    optional("Cc: ", fields.cc);
    std::string_view other = fields.otherHeaders;
    while (other.ends_with("\r\n")) other.remove_suffix(2);
    if (!other.empty()) {  // nothing but line ends would end the header block early
        block += other;
        block += "\r\n";
    }
    return block + "\r\n";
}

void SmtpDotStuffer::Stuff(std::string_view piece, std::string& out) {
    out.reserve(out.size() + piece.size());
    for (char c : piece) {
        if (c == '.' && atLineStart_) out += '.';
        out += c;
        atLineStart_ = c == '\n';
    }
}

}  // namespace inet
