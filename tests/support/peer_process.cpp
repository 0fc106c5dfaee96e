#include "tests/support/peer_process.h"

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

#include "tests/support/loopback_peer.h"

extern char** environ;

namespace testsupport {

namespace {

bool Accepts(std::uint16_t port) {
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    bool ok = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return ok;
}

}  // namespace

bool PeerProcess::Start(const std::vector<std::string>& argv, const std::filesystem::path& log, std::uint16_t port,
                        std::chrono::milliseconds limit) {
    Stop();
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    int failed = posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed) {
        pid_ = -1;
        return false;
    }
    // Polled: the peer gives no other sign that it listens.
    auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (!Running()) return false;
        if (Accepts(port)) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    Stop();
    return false;
}

bool PeerProcess::Reaped(int options) {
    int status = 0;
    pid_t r = waitpid(pid_, &status, options);
    if (r == pid_ || (r < 0 && errno == ECHILD)) {
        pid_ = -1;
        return true;
    }
    return false;
}

bool PeerProcess::Running() { return pid_ > 0 && !Reaped(WNOHANG); }

void PeerProcess::Stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (pid_ > 0 && std::chrono::steady_clock::now() < end) {
        if (Reaped(WNOHANG)) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        Reaped(0);
    }
}

std::uint16_t StartOnFreePort(PeerProcess& process, const std::filesystem::path& log,
                              const std::function<std::vector<std::string>(std::uint16_t)>& make) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        std::uint16_t port = ClosedLoopbackPort();
        if (process.Start(make(port), log, port)) return port;
    }
    return 0;
}

}  // namespace testsupport
