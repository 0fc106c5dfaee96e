#include "tests/support/loopback_peer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <stdexcept>

namespace testsupport {

namespace {

constexpr int kStepTimeoutMs = 10000;

}  // namespace

int ListenOnLoopback(std::uint16_t& port, int backlog) {
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) < 0 || listen(fd, backlog) < 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) < 0)
        throw std::runtime_error("loopback peer: cannot listen");
    port = ntohs(address.sin_port);
    return fd;
}

std::uint16_t ClosedLoopbackPort() {
    std::uint16_t port = 0;
    close(ListenOnLoopback(port));
    return port;
}

LoopbackPeer::LoopbackPeer(std::vector<Step> script) : script_(std::move(script)) {
    listenFd_ = ListenOnLoopback(port_);
    stopFd_ = eventfd(0, EFD_CLOEXEC);
    thread_ = std::thread([this] { Run(); });
}

LoopbackPeer::~LoopbackPeer() {
    {
        std::lock_guard<std::mutex> hold(stateLock_);
        stopping_ = true;
        stateChanged_.notify_all();
    }
    std::uint64_t one = 1;
    (void)!write(stopFd_, &one, sizeof one);
    thread_.join();
    close(listenFd_);
    close(stopFd_);
}

std::string LoopbackPeer::Received() const {
    std::lock_guard<std::mutex> hold(stateLock_);
    return received_;
}

void LoopbackPeer::OpenGate() {
    std::lock_guard<std::mutex> hold(stateLock_);
    gateOpen_ = true;
    stateChanged_.notify_all();
}

bool LoopbackPeer::WaitScriptDone(std::chrono::milliseconds timeout) {
    std::unique_lock<std::mutex> hold(stateLock_);
    stateChanged_.wait_for(hold, timeout, [this] { return scriptDone_; });
    return scriptDone_ && scriptOk_;
}

bool LoopbackPeer::WaitClientClosed(std::chrono::milliseconds timeout) {
    std::unique_lock<std::mutex> hold(stateLock_);
    return stateChanged_.wait_for(hold, timeout, [this] { return clientClosed_; });
}

// Waits for fd or the stop request; false on stop or time-out.
bool LoopbackPeer::WaitReadable(int fd, int timeoutMs) {
    pollfd fds[2] = {{fd, POLLIN, 0}, {stopFd_, POLLIN, 0}};
    int n = poll(fds, 2, timeoutMs);
    return n > 0 && !(fds[1].revents & POLLIN) && fds[0].revents != 0;
}

// Reads what is there; false when the other side closed, on error, stop or time-out.
bool LoopbackPeer::ReadSome(int connection, int timeoutMs) {
    if (!WaitReadable(connection, timeoutMs)) return false;
    char buffer[4096];
    ssize_t n = recv(connection, buffer, sizeof buffer, 0);
    std::lock_guard<std::mutex> hold(stateLock_);
    if (n <= 0) {
        clientClosed_ = true;
        stateChanged_.notify_all();
        return false;
    }
    received_.append(buffer, static_cast<std::size_t>(n));
    return true;
}

void LoopbackPeer::ReadUntilClosed(int connection) {
    while (ReadSome(connection, -1)) {
    }
}

bool LoopbackPeer::Play(int connection, const Step& step) {
    switch (step.kind) {
    case Step::Kind::ReceiveUntil:
    case Step::Kind::ReceiveBytes:
        for (;;) {
            {
                std::lock_guard<std::mutex> hold(stateLock_);
                if (step.kind == Step::Kind::ReceiveUntil) {
                    auto at = received_.find(step.text, consumed_);
                    if (at != std::string::npos) {
                        consumed_ = at + step.text.size();
                        return true;
                    }
                } else if (received_.size() >= consumed_ + step.count) {
                    consumed_ += step.count;
                    return true;
                }
            }
            if (!ReadSome(connection, kStepTimeoutMs)) return false;
        }
    case Step::Kind::Send: {
        std::size_t done = 0;
        while (done < step.text.size()) {
            ssize_t n = send(connection, step.text.data() + done, step.text.size() - done, MSG_NOSIGNAL);
            if (n < 0) return false;
            done += static_cast<std::size_t>(n);
        }
        return true;
    }
    case Step::Kind::Delay: {
        pollfd stop = {stopFd_, POLLIN, 0};
        return poll(&stop, 1, static_cast<int>(step.delay.count())) == 0;
    }
    case Step::Kind::Gate: {
        std::unique_lock<std::mutex> hold(stateLock_);
        return stateChanged_.wait_for(hold, std::chrono::milliseconds(kStepTimeoutMs), [this] { return gateOpen_ || stopping_; }) && gateOpen_;
    }
    case Step::Kind::Close:
        shutdown(connection, SHUT_WR);
        return true;
    case Step::Kind::Reset: {
        linger hard{1, 0};
        setsockopt(connection, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
        return true;
    }
    }
    return false;
}

void LoopbackPeer::Run() {
    bool ok = false;
    int connection = -1;
    if (WaitReadable(listenFd_, -1)) connection = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
    bool reset = false;
    if (connection >= 0) {
        ok = true;
        for (const Step& step : script_) {
            if (!Play(connection, step)) {
                ok = false;
                break;
            }
            if (step.kind == Step::Kind::Reset) {
                reset = true;
                break;
            }
        }
    }
    {
        std::lock_guard<std::mutex> hold(stateLock_);
        scriptDone_ = true;
        scriptOk_ = ok;
        stateChanged_.notify_all();
    }
    if (connection < 0) return;
    if (!reset) ReadUntilClosed(connection);
    close(connection);
}

}  // namespace testsupport
