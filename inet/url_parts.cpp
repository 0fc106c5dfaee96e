#include "inet/url_parts.h"

#include "inet/engine_text.h"

namespace inet {

namespace {

// Decimal digits up to the first other char (none gives 0), kept to the low 16 bits.
std::uint16_t PortDigits(std::string_view text) {
    std::uint32_t port = 0;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        port = (port * 10 + static_cast<std::uint32_t>(c - '0')) & 0xFFFF;
    }
    return static_cast<std::uint16_t>(port);
}

}  // namespace

UrlParts ParseURL(std::string_view url) {
    UrlParts parts;
    std::string_view rest = url;
    if (auto colon = url.find(':'); colon != std::string_view::npos) {
        parts.scheme = std::string(url.substr(0, colon));
        if (CompareTextNoCase(parts.scheme, "https") == 0) parts.port = 443;
        rest = url.substr(colon + 1);
    }
    if (!rest.starts_with("//")) return parts;
    rest.remove_prefix(2);

    // The server ends at the path or, without one, at the query: "host?a=/b" is "host".
    std::string_view authority = rest;
    if (auto end = rest.find_first_of("/?"); end != std::string_view::npos) {
        authority = rest.substr(0, end);
        parts.path = std::string(rest.substr(end));
    }
    // The login is everything up to the last '@', so a password may hold ':' or '@'.
    if (auto at = authority.rfind('@'); at != std::string_view::npos) {
        std::string_view login = authority.substr(0, at);
        authority.remove_prefix(at + 1);
        UrlLogin l;
        if (auto colon = login.find(':'); colon != std::string_view::npos) {
            l.user = std::string(login.substr(0, colon));
            l.password = std::string(login.substr(colon + 1));
        } else {
            l.user = std::string(login);
        }
        parts.login = std::move(l);
    }
    if (auto colon = authority.find(':'); colon != std::string_view::npos) {
        parts.port = PortDigits(authority.substr(colon + 1));
        authority = authority.substr(0, colon);
    }
    parts.server = std::string(authority);
    return parts;
}

}  // namespace inet
