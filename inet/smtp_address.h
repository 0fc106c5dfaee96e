#pragma once
// Addresses of the SMTP envelope: the sender taken out of a From text, and the recipients
// taken out of a comma-separated list with quotes, comments in parentheses and angle
// brackets. Every address is cut to 255 chars.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace inet {

constexpr std::size_t kMaxSmtpAddress = 255;

// What follows "MAIL FROM:" (or SAML, SOML, SEND). One leading "<" and one trailing ">"
// are removed; a text that then begins with BEL (char 7) gives the rest unchanged;
// otherwise the address inside "<...>" (to the end when ">" is missing), or the whole
// text, between "<" and ">".
std::string SmtpSenderArgument(std::string_view from);

// The addresses of a list, in order: "a@x (Name), \"b, c\" <b@y>" gives "a@x" and "b@y".
std::vector<std::string> SmtpAddressList(std::string_view list);

}  // namespace inet
