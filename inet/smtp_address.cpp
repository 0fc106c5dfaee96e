#include "inet/smtp_address.h"

namespace inet {

namespace {

std::string Cut(std::string_view text) { return std::string(text.substr(0, kMaxSmtpAddress)); }

}  // namespace

std::string SmtpSenderArgument(std::string_view from) {
    if (!from.empty() && from.front() == '<') from.remove_prefix(1);
    if (!from.empty() && from.back() == '>') from.remove_suffix(1);
    if (!from.empty() && from.front() == '\x07') return Cut(from.substr(1));  // given verbatim by the caller
    std::string_view address = from;
    if (std::size_t open = from.find('<'); open != std::string_view::npos) {
        address = from.substr(open + 1);
        address = address.substr(0, address.find('>'));
    }
    return "<" + Cut(address) + ">";
}

// One pass over the chars with the bounds [start, end) of the address being read. Inside
// double quotes every char belongs to the address (so a quoted comma does not split it).
// A comment that follows an address, or a ">", ends the address: what comes after it up
// to the next comma is ignored. A "<" starts the address afresh, so a display name before
// it is dropped. Blanks and control chars never extend an address.
std::vector<std::string> SmtpAddressList(std::string_view list) {
    std::vector<std::string> addresses;
    std::size_t start = 0, end = 0;
    bool inQuotes = false, ended = false;
    int depth = 0;
    auto emit = [&] {
        if (start < end) addresses.push_back(Cut(list.substr(start, end - start)));
    };
    for (std::size_t i = 0; i < list.size(); ++i) {
        auto c = static_cast<unsigned char>(list[i]);
        if (depth > 0) {
            if (c == '(') {
                ++depth;
            } else if (c == ')' && --depth == 0) {
                if (start < end)
                    ended = true;
                else
                    start = i + 1;
            }
            continue;
        }
        if (c == '"' || inQuotes) {
            if (c == '"') inQuotes = !inQuotes;
            if (!ended) end = i + 1;
            continue;
        }
        switch (c) {
        case '(':
            depth = 1;
            continue;
        case '<':
            start = end = i + 1;
            ended = false;
            continue;
        case '>':
            ended = true;
            continue;
        case ',':
            emit();
            start = end = i + 1;
            ended = false;
            continue;
        default:
            break;
        }
        if (c < '!' || ended) {
            if (i == start) start = i + 1;
            continue;
        }
        end = i + 1;
    }
    emit();
    return addresses;
}

}  // namespace inet
