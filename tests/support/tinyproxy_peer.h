#pragma once
// tinyproxy started by a test on a free loopback port, with a configuration written into
// the test's folder; with a user name it asks every client for that Basic login (407
// otherwise). Stopped when the object goes.

#include <cstdint>
#include <filesystem>
#include <string>

#include "tests/support/peer_process.h"

namespace testsupport {

class TinyproxyPeer {
public:
    explicit TinyproxyPeer(const std::filesystem::path& folder, const std::string& user = {},
                           const std::string& password = {});

    bool Running() { return port_ != 0 && process_.Running(); }
    std::uint16_t port() const { return port_; }
    std::string Log() const;

private:
    std::filesystem::path folder_;
    PeerProcess process_;
    std::uint16_t port_ = 0;
};

}  // namespace testsupport
