#pragma once
// Whole-program tests: a private Xvfb display and a child program run on it. Header-only, so
// a test program needs no build change to use it. Every wait is bounded; processes are ended
// by their own ids only.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace testsupport {

// Waits for a child until the deadline; the exit status, or nothing when it still runs.
inline std::optional<int> WaitForChild(pid_t pid, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        int status = 0;
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) return status;
        if (done < 0 || std::chrono::steady_clock::now() >= deadline) return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

// Polls condition every 50 ms until it holds or the time is up.
inline bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

// Starts program with its arguments and extra environment entries ("NAME=value"); stdout and
// stderr go to logFile. Returns the child's id, or -1.
inline pid_t StartProgram(const std::string& program, const std::vector<std::string>& arguments,
                          const std::vector<std::string>& environment, const std::string& logFile) {
    // Everything is built before fork: the child of a threaded process may not allocate.
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (const std::string& entry : environment) envp.push_back(const_cast<char*>(entry.c_str()));
    for (char** entry = environ; *entry; ++entry) envp.push_back(*entry);  // the first of a name wins
    envp.push_back(nullptr);
    const pid_t pid = fork();
    if (pid != 0) return pid;
    const int log = open(logFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (log >= 0) {
        dup2(log, 1);
        dup2(log, 2);
    }
    execve(program.c_str(), argv.data(), envp.data());
    _exit(127);
}

// Ends a child: SIGTERM, then SIGKILL when it has not ended within the grace time.
inline void EndProgram(pid_t pid, std::chrono::milliseconds grace = std::chrono::seconds(5)) {
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    if (WaitForChild(pid, grace)) return;
    kill(pid, SIGKILL);
    WaitForChild(pid, grace);
}

// A private X display. Xvfb is given a display number drawn from a wide range rather than the
// lowest free one: a server that another test is ending still removes its socket file as it
// goes, and a new server that took the same low number would then lose its clients. A number in
// use makes the server end at once without reporting; the next number is tried. The screen is
// WIDTHxHEIGHTxDEPTH, as Xvfb takes it; screens of it are made (":N.0", ":N.1", ...).
class XvfbDisplay {
public:
    explicit XvfbDisplay(std::string screen = "1280x1024x24", int screens = 1)
        : screen_(std::move(screen)), screens_(screens) {
        std::random_device seed;
        std::mt19937 draw(seed());
        std::uniform_int_distribution<int> numbers(200, 29999);
        for (int attempt = 0; attempt < kAttempts && display_.empty(); ++attempt) Start(std::to_string(numbers(draw)));
    }
    ~XvfbDisplay() { EndProgram(pid_); }
    XvfbDisplay(const XvfbDisplay&) = delete;
    XvfbDisplay& operator=(const XvfbDisplay&) = delete;

    // ":N", or empty when the server did not start.
    const std::string& display() const { return display_; }

private:
    static constexpr int kAttempts = 5;

    std::string screen_;
    int screens_;
    // Starts Xvfb on display :number; display_ is set once the server reports it is ready.
    void Start(const std::string& number) {
        // Built before fork: the child may not allocate.
        std::vector<std::string> arguments{"Xvfb", ":" + number, "-displayfd", "3", "-nolisten", "tcp"};
        for (int n = 0; n < screens_; ++n) arguments.insert(arguments.end(), {"-screen", std::to_string(n), screen_});
        std::vector<char*> argv;
        for (std::string& argument : arguments) argv.push_back(argument.data());
        argv.push_back(nullptr);
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            dup2(fds[1], 3);  // -displayfd writes the number here; dup2 clears close-on-exec
            if (fds[1] == 3) fcntl(3, F_SETFD, 0);  // dup2 onto itself leaves the flag
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, 1);
            dup2(null, 2);
            execvp("Xvfb", argv.data());
            _exit(127);
        }
        close(fds[1]);
        std::string reported;
        pollfd readable{fds[0], POLLIN, 0};
        char c;
        while (poll(&readable, 1, 10000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n') reported += c;
        close(fds[0]);
        if (!reported.empty()) {
            display_ = ":" + reported;
            return;
        }
        EndProgram(pid_);
        pid_ = -1;
    }

    pid_t pid_ = -1;
    std::string display_;
};

}  // namespace testsupport
