#pragma once
// The message part of a mail as the SMTP engine sends it after DATA: the header block in
// its fixed order, and the text with its dots stuffed.

#include <string>
#include <string_view>

namespace inet {

// The text with CR and LF removed: a header value or a command argument can never start
// a line of its own.
std::string SingleLine(std::string_view text);

struct SmtpHeaderFields {
    std::string_view to, from, subject, replyTo, date, cc;
    std::string_view otherHeaders;  // whole lines, sent as they are
};

// "To: ", "From: ", then Subject, Reply-To, Date and Cc when not empty, each line ended by
// CR LF; then the other header lines, ended by exactly one CR LF; then the empty line.
// Blind copies are never part of it.
std::string SmtpHeaderBlock(const SmtpHeaderFields& fields);

// Doubles every "." that begins a line (at the start, or after a LF), across pieces.
class SmtpDotStuffer {
public:
    void Stuff(std::string_view piece, std::string& out);

private:
    bool atLineStart_ = true;
};

}  // namespace inet
