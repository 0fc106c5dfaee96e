#include "tests/support/hostile_peer.h"

#include "tests/support/loopback_peer.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <stdexcept>

namespace testsupport {
namespace {

constexpr int kRequestTimeoutMs = 10000;

std::string PictureHead(std::size_t length) {
    return "HTTP/1.0 200 OK\r\nContent-Type: image/jpeg\r\nContent-Length: " + std::to_string(length) + "\r\n\r\n";
}

}  // namespace

const char* HostilePeer::KindName(Kind kind) {
    switch (kind) {
    case Kind::Picture: return "picture";
    case Kind::PacedPicture: return "paced-picture";
    case Kind::HeaderFlood: return "header-flood";
    case Kind::BusySocket: return "busy-socket";
    case Kind::ByteASecond: return "byte-a-second";
    case Kind::EmptyReply: return "empty-reply";
    case Kind::TruncatedJpeg: return "truncated-jpeg";
    case Kind::Html: return "html";
    case Kind::Chunked: return "chunked";
    case Kind::NoStatusLine: return "no-status-line";
    case Kind::EndlessBody: return "endless-body";
    }
    return "?";
}

HostilePeer::HostilePeer(Kind kind, std::vector<std::string> pictures, std::chrono::milliseconds pace)
    : kind_(kind), pictures_(std::move(pictures)), pace_(pace) {
    if (pictures_.empty() && (kind == Kind::Picture || kind == Kind::PacedPicture || kind == Kind::TruncatedJpeg ||
                              kind == Kind::Chunked))
        throw std::invalid_argument("hostile peer: this kind needs a picture");
    listenFd_ = ListenOnLoopback(port_, 64);
    stopFd_ = eventfd(0, EFD_CLOEXEC);
    acceptor_ = std::thread([this] { Accept(); });
}

HostilePeer::~HostilePeer() {
    std::uint64_t one = 1;
    (void)!write(stopFd_, &one, sizeof one);
    acceptor_.join();
    close(listenFd_);
    close(stopFd_);
}

std::string HostilePeer::Url(std::string_view path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + std::string(path);
}

void HostilePeer::Accept() {
    for (;;) {
        pollfd fds[2] = {{listenFd_, POLLIN, 0}, {stopFd_, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0 && errno != EINTR) break;
        if (fds[1].revents & POLLIN) break;
        if (!(fds[0].revents & POLLIN)) continue;
        const int connection = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (connection < 0) continue;
        ++connections_;
        Reap(false);
        Worker& worker = workers_.emplace_back();
        worker.thread = std::thread([this, connection, &worker] {
            Serve(connection);
            close(connection);
            worker.done = true;
        });
    }
    Reap(true);
}

void HostilePeer::Reap(bool all) {
    for (auto it = workers_.begin(); it != workers_.end();) {
        if (all || it->done) {
            it->thread.join();
            it = workers_.erase(it);
        } else {
            ++it;
        }
    }
}

bool HostilePeer::Pause(std::chrono::milliseconds time) {
    pollfd stop = {stopFd_, POLLIN, 0};
    return poll(&stop, 1, static_cast<int>(time.count())) == 0;
}

bool HostilePeer::ReadRequest(int connection, std::string& request) {
    while (request.find("\r\n\r\n") == std::string::npos) {
        pollfd fds[2] = {{connection, POLLIN, 0}, {stopFd_, POLLIN, 0}};
        if (poll(fds, 2, kRequestTimeoutMs) <= 0 || (fds[1].revents & POLLIN)) return false;
        char buffer[4096];
        const ssize_t n = recv(connection, buffer, sizeof buffer, 0);
        if (n <= 0) return false;
        request.append(buffer, static_cast<std::size_t>(n));
    }
    return true;
}

// False when the client went or the peer stops.
bool HostilePeer::Send(int connection, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = send(connection, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(n));
            bytesSent_ += n;
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return false;
        pollfd fds[2] = {{connection, POLLOUT, 0}, {stopFd_, POLLIN, 0}};
        if (poll(fds, 2, -1) <= 0 || (fds[1].revents & POLLIN) || (fds[0].revents & (POLLERR | POLLHUP))) return false;
    }
    return true;
}

void HostilePeer::Serve(int connection) {
    std::string request;
    if (!ReadRequest(connection, request)) return;
    switch (kind_) {
    case Kind::PacedPicture:
        if (!Pause(pace_)) return;
        [[fallthrough]];
    case Kind::Picture: {
        if (request.starts_with("HEAD ")) {  // the head alone; the next GET brings the next picture
            Send(connection, PictureHead(pictures_.front().size()));
            break;
        }
        const std::string& picture = pictures_[static_cast<std::size_t>(picturesSent_++) % pictures_.size()];
        Send(connection, PictureHead(picture.size()) + picture);
        break;
    }
    case Kind::HeaderFlood: {
        if (!Send(connection, "HTTP/1.0 200 OK\r\n")) return;
        const std::string filler(100, 'a');
        for (long line = 0; Send(connection, "X-Flood-" + std::to_string(line) + ": " + filler + "\r\n"); ++line) {
        }
        return;
    }
    case Kind::BusySocket:
    case Kind::EndlessBody: {
        const std::string head = kind_ == Kind::BusySocket ? "HTTP/1.0 200 OK\r\nContent-Type: image/jpeg\r\n\r\n"
                                                           : PictureHead(100000);
        if (!Send(connection, head)) return;
        const std::string block(64 * 1024, 'b');
        while (Send(connection, block)) {
        }
        return;
    }
    case Kind::ByteASecond: {
        if (!Send(connection, PictureHead(100000))) return;
        while (Pause(pace_) && Send(connection, "x")) {
        }
        return;
    }
    case Kind::EmptyReply:
        break;
    case Kind::TruncatedJpeg: {
        const std::string half = pictures_.front().substr(0, pictures_.front().size() / 2);
        Send(connection, PictureHead(half.size()) + half);
        break;
    }
    case Kind::Html:
        Send(connection, "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n"
                         "<html><head><title>Camera offline</title></head><body>Camera offline</body></html>\n");
        break;
    case Kind::Chunked: {
        const std::string& picture = pictures_.front();
        char size[32];
        std::snprintf(size, sizeof size, "%zx\r\n", picture.size());
        Send(connection, "HTTP/1.1 200 OK\r\nContent-Type: image/jpeg\r\nTransfer-Encoding: chunked\r\n\r\n" +
                             std::string(size) + picture + "\r\n0\r\n\r\n");
        break;
    }
    case Kind::NoStatusLine:
        Send(connection, "220 mail.example.org ESMTP ready\r\n");
        break;
    }
    shutdown(connection, SHUT_WR);
    // Lets the client read everything before the close: drains until it goes (or 10 s).
    char buffer[4096];
    for (;;) {
        pollfd fds[2] = {{connection, POLLIN, 0}, {stopFd_, POLLIN, 0}};
        if (poll(fds, 2, kRequestTimeoutMs) <= 0 || (fds[1].revents & POLLIN)) return;
        if (recv(connection, buffer, sizeof buffer, 0) <= 0) return;
    }
}

}  // namespace testsupport
