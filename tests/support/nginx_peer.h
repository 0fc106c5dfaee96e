#pragma once
// nginx started by a test on a free loopback port, with a configuration written into the
// test's folder: one server on 127.0.0.1 serving root(), no keep-alive, logs and pid in
// the folder. Extra lines for the server block (locations, auth_basic, limit_rate) are
// given at the start, and for the http block (a log format) after them; load runs may raise
// the connection limit. Stopped when the object goes.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "tests/support/peer_process.h"

namespace testsupport {

class NginxPeer {
public:
    NginxPeer(const std::filesystem::path& folder, const std::string& serverLines = {}, int workerConnections = 64,
              const std::string& httpLines = {});

    bool Running() { return port_ != 0 && process_.Running(); }
    std::uint16_t port() const { return port_; }
    // The folder served at "/".
    const std::filesystem::path& root() const { return root_; }
    // "http://127.0.0.1:<port>" followed by path.
    std::string Url(std::string_view path) const;
    // Writes a password file for auth_basic holding one login and returns the lines of a
    // location protected by it, for serverLines.
    static std::string BasicAuthLocation(const std::filesystem::path& passwordFile, const std::string& location,
                                         const std::string& user, const std::string& password);
    std::string ErrorLog() const;

private:
    std::filesystem::path folder_, root_;
    PeerProcess process_;
    std::uint16_t port_ = 0;
};

}  // namespace testsupport
