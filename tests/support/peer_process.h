#pragma once
// A peer program started by a test: spawned with its output in a log file, waited for
// until it accepts connections on its loopback port, and stopped (and reaped) at the end.
// Every wait is bounded.

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace testsupport {

class PeerProcess {
public:
    PeerProcess() = default;
    ~PeerProcess() { Stop(); }
    PeerProcess(const PeerProcess&) = delete;
    PeerProcess& operator=(const PeerProcess&) = delete;

    // Starts argv (argv[0] a full path) with stdout and stderr appended to log, then waits
    // until 127.0.0.1:port accepts a connection. False when it could not start, ended, or
    // did not listen in time; it is then stopped.
    bool Start(const std::vector<std::string>& argv, const std::filesystem::path& log, std::uint16_t port,
               std::chrono::milliseconds limit = std::chrono::seconds(10));
    bool Running();
    // SIGTERM, then SIGKILL when it has not ended within a few seconds.
    void Stop();

private:
    bool Reaped(int options);

    pid_t pid_ = -1;
};

// Starts a peer on a free loopback port: make(port) writes its configuration and returns
// its command line. A few ports are tried, since a free port may be taken before the
// peer binds it. Returns the port, or 0.
std::uint16_t StartOnFreePort(PeerProcess& process, const std::filesystem::path& log,
                              const std::function<std::vector<std::string>(std::uint16_t)>& make);

}  // namespace testsupport
