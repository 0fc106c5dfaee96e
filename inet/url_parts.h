#pragma once
// A request URL taken apart into what an HTTP request needs: scheme, server, port, path
// with its query, and the login written before the server. Only the forms the HTTP
// component sends are understood; nothing is validated or decoded.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace inet {

struct UrlLogin {
    std::string user;
    std::optional<std::string> password;  // none: the login had no ':'
};

struct UrlParts {
    std::string scheme = "http";  // as written
    std::uint16_t port = 80;      // written after the server, else 443 for https, else 80
    std::string path = "/";       // from the first '/' or '?' after the server, query included
    // Set when the URL names a server ("scheme://server..."); a URL without "//" has none.
    std::optional<std::string> server;
    std::optional<UrlLogin> login;  // "user:password@" before the server
};

UrlParts ParseURL(std::string_view url);

}  // namespace inet
