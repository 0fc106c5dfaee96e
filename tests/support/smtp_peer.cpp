#include "tests/support/smtp_peer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <sstream>

#include "tests/support/loopback_peer.h"
#include "tests/support/temp_dir.h"

extern char** environ;

namespace testsupport {

namespace {

constexpr int kStartAttempts = 3;  // a free port may be taken before the server binds it
constexpr auto kStartLimit = std::chrono::seconds(10);
constexpr int kStopLimitMs = 5000;

// The folder of the test support sources, which holds the handler script.
std::string HandlerFolder() { return ORVELLO_TEST_SUPPORT_DIR; }

bool Listening(std::uint16_t port) {
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bool up = fd >= 0 && connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    if (fd >= 0) close(fd);
    return up;
}

// This process's environment with PYTHONPATH pointing at the handler.
std::vector<std::string> HandlerEnvironment() {
    std::vector<std::string> env;
    for (char** entry = environ; *entry; ++entry)
        if (std::strncmp(*entry, "PYTHONPATH=", 11) != 0) env.emplace_back(*entry);
    env.push_back("PYTHONPATH=" + HandlerFolder());
    return env;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

}  // namespace

SmtpPeer::SmtpPeer(const std::string& python, const std::filesystem::path& folder, const std::string& refused)
    : folder_(folder), log_(folder / "aiosmtpd.log") {
    for (int attempt = 0; attempt < kStartAttempts && !Start(python, refused); ++attempt) {
    }
}

SmtpPeer::~SmtpPeer() { Stop(); }

bool SmtpPeer::Start(const std::string& python, const std::string& refused) {
    port_ = ClosedLoopbackPort();
    std::vector<std::string> args = {python, "-m", "aiosmtpd", "-n", "-l", std::string(host()) + ":" + std::to_string(port_),
                                     "-c", "smtp_peer_handler.StoringHandler", folder_.string(), refused};
    std::vector<std::string> env = HandlerEnvironment();
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&files, 1, log_.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_adddup2(&files, 1, 2);
    pid_t pid = 0;
    int spawned = posix_spawn(&pid, python.c_str(), &files, nullptr, Pointers(args).data(), Pointers(env).data());
    posix_spawn_file_actions_destroy(&files);
    if (spawned != 0) return false;
    pid_ = pid;
    pidFd_ = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    auto end = std::chrono::steady_clock::now() + kStartLimit;
    while (std::chrono::steady_clock::now() < end) {
        if (Listening(port_)) return true;
        pollfd exited{pidFd_, POLLIN, 0};
        if (poll(&exited, 1, 20) > 0) break;  // the server ended (its port was taken?)
    }
    Stop();
    return false;
}

void SmtpPeer::Stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    pollfd exited{pidFd_, POLLIN, 0};
    if (poll(&exited, 1, kStopLimitMs) <= 0) kill(pid_, SIGKILL);
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    close(pidFd_);
    pid_ = pidFd_ = -1;
}

std::vector<SmtpPeer::Message> SmtpPeer::Stored() const {
    std::vector<Message> messages;
    for (int n = 1;; ++n) {
        std::filesystem::path base = folder_ / std::to_string(n);
        std::error_code ec;
        if (!std::filesystem::exists(base.string() + ".eml", ec)) break;
        Message message;
        std::istringstream envelope(ReadFile(base.string() + ".envelope"));
        std::getline(envelope, message.from);
        for (std::string to; std::getline(envelope, to);) message.to.push_back(to);
        message.content = ReadFile(base.string() + ".eml");
        messages.push_back(std::move(message));
    }
    return messages;
}

std::vector<SmtpPeer::Message> SmtpPeer::WaitMessages(std::size_t count, std::chrono::milliseconds timeout) {
    auto end = std::chrono::steady_clock::now() + timeout;
    std::vector<Message> messages = Stored();
    while (messages.size() < count && std::chrono::steady_clock::now() < end) {
        pollfd none{-1, 0, 0};
        poll(&none, 0, 10);  // the handler writes files; look again shortly
        messages = Stored();
    }
    return messages;
}

std::string SmtpPeer::Log() const {
    std::error_code ec;
    return std::filesystem::exists(log_, ec) ? ReadFile(log_) : std::string();
}

}  // namespace testsupport
