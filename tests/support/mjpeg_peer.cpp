#include "tests/support/mjpeg_peer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <ctime>

namespace testsupport {
namespace {

constexpr int kRequestTimeoutMs = 10000;
constexpr int kCloseTimeoutMs = 10000;

int Listen(std::uint16_t& port) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    const int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    socklen_t length = sizeof address;
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) < 0 || listen(fd, 8) < 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) < 0) {
        close(fd);
        return -1;
    }
    port = ntohs(address.sin_port);
    return fd;
}

}  // namespace

std::string MultipartHead(std::string_view type, std::string_view boundary) {
    return "HTTP/1.0 200 OK\r\nServer: mjpeg-peer\r\nContent-Type: " + std::string(type) +
           ";boundary=" + std::string(boundary) + "\r\n\r\n";
}

std::string MultipartBody(const std::vector<std::string>& pictures, const PartStyle& style) {
    std::string body;
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        if (i > 0 || style.firstBoundary) body += "--" + style.boundary + "\r\n";
        body += "Content-Type: " + style.contentType + "\r\n";
        if (style.contentLength) body += "Content-Length: " + std::to_string(pictures[i].size()) + "\r\n";
        body += "\r\n" + pictures[i] + "\r\n";
    }
    return body;
}

MjpegPeer::MjpegPeer(std::vector<Reply> replies, std::uint16_t port) : replies_(std::move(replies)), port_(port) {
    listenFd_ = Listen(port_);
    stopFd_ = eventfd(0, EFD_CLOEXEC);
    if (listenFd_ >= 0 && !replies_.empty()) {
        thread_ = std::thread([this] { Run(); });
        pthread_getcpuclockid(thread_.native_handle(), &cpuClock_);
    }
}

MjpegPeer::~MjpegPeer() {
    std::uint64_t one = 1;
    (void)!write(stopFd_, &one, sizeof one);
    if (thread_.joinable()) thread_.join();
    if (listenFd_ >= 0) close(listenFd_);
    close(stopFd_);
}

std::string MjpegPeer::Url(std::string_view path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + std::string(path);
}

std::vector<MjpegPeer::Visit> MjpegPeer::Visits() const {
    std::lock_guard hold(lock_);
    return visits_;
}

bool MjpegPeer::WaitAccepted(std::size_t n, std::chrono::milliseconds timeout) {
    std::unique_lock hold(lock_);
    return changed_.wait_for(hold, timeout, [&] { return visits_.size() >= n; });
}

bool MjpegPeer::WaitEnded(std::size_t n, std::chrono::milliseconds timeout) {
    std::unique_lock hold(lock_);
    return changed_.wait_for(hold, timeout, [&] {
        return std::count_if(visits_.begin(), visits_.end(), [](const Visit& v) { return v.done; }) >=
               static_cast<std::ptrdiff_t>(n);
    });
}

double MjpegPeer::CpuSeconds() const {
    timespec used{};
    if (!thread_.joinable() || clock_gettime(cpuClock_, &used) != 0) return 0;
    return static_cast<double>(used.tv_sec) + static_cast<double>(used.tv_nsec) / 1e9;
}

template <typename Change>
void MjpegPeer::Record(std::size_t visit, Change change) {
    std::lock_guard hold(lock_);
    change(visits_[visit]);
    changed_.notify_all();
}

bool MjpegPeer::WaitFor(int connection, short events, int timeoutMs) {
    pollfd fds[2] = {{connection, events, 0}, {stopFd_, POLLIN, 0}};
    return poll(fds, 2, timeoutMs) > 0 && !(fds[1].revents & POLLIN) && fds[0].revents != 0;
}

void MjpegPeer::Run() {
    for (std::size_t index = 0; WaitFor(listenFd_, POLLIN, -1); ++index) {
        const int connection = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (connection < 0) continue;
        std::size_t visit = 0;
        {
            std::lock_guard hold(lock_);
            visit = visits_.size();
            visits_.push_back(Visit{{}, Clock::now(), {}, {}, false});
            changed_.notify_all();
        }
        Serve(connection, replies_[std::min(index, replies_.size() - 1)], visit);
        close(connection);
        Record(visit, [](Visit& v) {
            v.ended = Clock::now();
            v.done = true;
        });
    }
}

void MjpegPeer::Serve(int connection, const Reply& reply, std::size_t visit) {
    std::string request;
    if (reply.readRequest && !ReadRequest(connection, request)) return;
    Record(visit, [&request](Visit& v) { v.request = request; });
    bool sending = SendPaced(connection, reply.head, reply);
    for (std::size_t round = 0; sending && (round < reply.times || (reply.end == End::Repeat && !reply.body.empty()));
         ++round)
        sending = SendPaced(connection, reply.body, reply);
    Record(visit, [](Visit& v) { v.sent = Clock::now(); });
    if (!sending) return;
    switch (reply.end) {
    case End::Close:
        shutdown(connection, SHUT_WR);
        WaitClientGone(connection, kCloseTimeoutMs);
        break;
    case End::Reset: {
        const linger hard{1, 0};
        setsockopt(connection, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
        break;
    }
    case End::Stall:
        WaitClientGone(connection, -1);
        break;
    case End::Repeat:
        break;
    }
}

bool MjpegPeer::ReadRequest(int connection, std::string& request) {
    while (request.find("\r\n\r\n") == std::string::npos) {
        if (!WaitFor(connection, POLLIN, kRequestTimeoutMs)) return false;
        char buffer[4096];
        const ssize_t n = recv(connection, buffer, sizeof buffer, 0);
        if (n <= 0) return false;
        request.append(buffer, static_cast<std::size_t>(n));
    }
    return true;
}

bool MjpegPeer::SendPaced(int connection, std::string_view bytes, const Reply& reply) {
    const std::size_t piece = reply.piece ? reply.piece : std::max<std::size_t>(bytes.size(), 1);
    for (std::size_t at = 0; at < bytes.size(); at += piece) {
        if (!SendAll(connection, bytes.substr(at, piece))) return false;
        pollfd stop = {stopFd_, POLLIN, 0};
        if (reply.pause.count() > 0 && poll(&stop, 1, static_cast<int>(reply.pause.count())) != 0) return false;
    }
    return true;
}

bool MjpegPeer::SendAll(int connection, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = send(connection, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(n));
        } else if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            return false;
        } else if (!WaitFor(connection, POLLOUT, -1)) {
            return false;
        }
    }
    return true;
}

// Reads and drops what comes until the client closes, the peer stops or the time is up.
void MjpegPeer::WaitClientGone(int connection, int timeoutMs) {
    char buffer[4096];
    while (WaitFor(connection, POLLIN, timeoutMs) && recv(connection, buffer, sizeof buffer, 0) > 0) {
    }
}

}  // namespace testsupport
