#include "platform/socket_async.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/epoll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <memory>
#include <unordered_map>
#include <utility>

#include "platform/socket_errors.h"

namespace platform {

namespace {

enum class Phase { Idle, Connecting, Connected, Closed };

struct Entry {
    int fd = -1;
    SocketHandle handle = kNoSocket;
    MessageLoop* loop = nullptr;
    WatchId watch = 0;
    TargetId target = 0;
    std::uint32_t message = 0;
    std::uint32_t mask = 0;
    Phase phase = Phase::Idle;
    bool readArmed = true;   // FD_READ (and, after it, FD_CLOSE) may be posted
    bool writeArmed = true;  // FD_WRITE may be posted
    int resetError = 0;      // an error a receive met, reported again by FD_CLOSE
    int unreadError = 0;     // an error FD_CLOSE took from the socket before a receive met it

    ~Entry() { close(fd); }  // the loop has unwatched it, or the thread is ending
};

using Registry = std::unordered_map<SocketHandle, std::unique_ptr<Entry>>;

Registry& Sockets() {
    thread_local Registry registry;
    return registry;
}

std::atomic<SocketHandle> nextHandle{1};

Entry* Find(SocketHandle handle) {
    auto& sockets = Sockets();
    auto it = sockets.find(handle);
    return it == sockets.end() ? nullptr : it->second.get();
}

std::uint32_t WantedEvents(const Entry& e) {
    if (e.mask == 0) return 0;
    if (e.phase == Phase::Connecting) return EPOLLOUT;
    if (e.phase != Phase::Connected) return 0;
    std::uint32_t events = 0;
    if (e.readArmed) {
        if (e.mask & kFdRead)
            events |= EPOLLIN | EPOLLRDHUP;
        else if (e.mask & kFdClose)
            events |= EPOLLRDHUP;
    }
    if (e.writeArmed && (e.mask & kFdWrite)) events |= EPOLLOUT;
    return events;
}

void Update(Entry& e) { e.loop->SetWatchEvents(e.watch, WantedEvents(e)); }

void Notify(Entry& e, std::uint32_t event, int error) {
    if (!(e.mask & event)) return;
    e.loop->Post(Message{e.target, e.message, static_cast<std::uintptr_t>(e.handle), MakeSelectReply(event, error)});
}

void DiscardNotifications(Entry& e) {
    auto handle = static_cast<std::uintptr_t>(e.handle);
    e.loop->DiscardMessages([&](const Message& m) {
        return m.target == e.target && m.id == e.message && m.wParam == handle;
    });
}

int PendingError(int fd) {
    int error = 0;
    socklen_t length = sizeof error;
    if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) < 0) return errno;
    return error;
}

// An errno from connect() that is the connection's outcome rather than a wrong call.
bool IsConnectOutcome(int error) {
    switch (error) {
    case ECONNREFUSED:
    case ETIMEDOUT:
    case ENETUNREACH:
    case EHOSTUNREACH:
    case ECONNRESET:
        return true;
    default:
        return false;
    }
}

void CompleteConnect(Entry& e, int error) {
    if (error != 0) {
        e.phase = Phase::Closed;
        Notify(e, kFdConnect, wsa::FromErrno(error));
        return;
    }
    e.phase = Phase::Connected;
    Notify(e, kFdConnect, 0);
    if (e.mask & kFdWrite) {
        e.writeArmed = false;
        Notify(e, kFdWrite, 0);
    }
}

void OnReady(SocketHandle handle, std::uint32_t events) {
    Entry* e = Find(handle);
    if (!e) return;
    if (e->phase == Phase::Connecting) {
        // Writable without an error or hang-up: the connection is up, nothing to ask.
        CompleteConnect(*e, events & (EPOLLERR | EPOLLHUP) ? PendingError(e->fd) : 0);
    } else if (e->phase == Phase::Connected) {
        if ((events & EPOLLOUT) && e->writeArmed) {
            e->writeArmed = false;
            Notify(*e, kFdWrite, 0);
        }
        if ((events & (EPOLLIN | EPOLLRDHUP | EPOLLHUP | EPOLLERR)) && e->readArmed) {
            // Readable without an end: there is data. Only with an end is it asked whether
            // data is left before the close.
            int unread = 1;
            if (events & (EPOLLRDHUP | EPOLLHUP | EPOLLERR)) ioctl(e->fd, FIONREAD, &unread);
            if (unread > 0 && (e->mask & kFdRead)) {
                e->readArmed = false;
                Notify(*e, kFdRead, 0);
            } else if (events & (EPOLLRDHUP | EPOLLHUP | EPOLLERR)) {
                int error = e->resetError;
                if (error == 0) {
                    // Taking the error clears it in the socket: the next receive reports it instead.
                    error = wsa::FromErrno(PendingError(e->fd));
                    e->unreadError = error;
                }
                e->phase = Phase::Closed;
                Notify(*e, kFdClose, error);
            }
        }
    }
    Update(*e);
}

}  // namespace

int SocketCreate(SocketHandle& socket) {
    socket = kNoSocket;
    MessageLoop& loop = MessageLoop::Current();
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return wsa::FromErrno(errno);
    auto entry = std::make_unique<Entry>();
    entry->fd = fd;
    entry->handle = nextHandle.fetch_add(1, std::memory_order_relaxed);
    entry->loop = &loop;
    SocketHandle handle = entry->handle;
    entry->watch = loop.Watch(fd, 0, [handle](std::uint32_t events) { OnReady(handle, events); });
    Sockets().emplace(handle, std::move(entry));
    socket = handle;
    return 0;
}

int SocketClose(SocketHandle socket) {
    auto& sockets = Sockets();
    auto it = sockets.find(socket);
    if (it == sockets.end()) return wsa::kNotSocket;
    Entry& e = *it->second;
    e.loop->UnwatchClosing(e.watch);  // the Entry closes the socket
    DiscardNotifications(e);
    sockets.erase(it);
    return 0;
}

int SocketBind(SocketHandle socket, std::uint16_t port) {
    Entry* e = Find(socket);
    if (!e) return wsa::kNotSocket;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    if (bind(e->fd, reinterpret_cast<sockaddr*>(&address), sizeof address) < 0) return wsa::FromErrno(errno);
    return 0;
}

int SocketAsyncSelect(SocketHandle socket, TargetId target, std::uint32_t message, std::uint32_t events) {
    Entry* e = Find(socket);
    if (!e) return wsa::kNotSocket;
    if (events == 0) DiscardNotifications(*e);
    e->target = target;
    e->message = message;
    e->mask = events;
    e->readArmed = e->writeArmed = true;
    Update(*e);
    return 0;
}

int SocketConnect(SocketHandle socket, std::uint32_t addressNet, std::uint16_t port) {
    Entry* e = Find(socket);
    if (!e) return wsa::kNotSocket;
    if (e->phase == Phase::Connecting) return wsa::kAlreadyInProgress;
    if (e->phase != Phase::Idle) return wsa::kIsConnected;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = addressNet;
    int error = connect(e->fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 ? 0 : errno;
    if (error == EINPROGRESS || error == EINTR) {
        e->phase = Phase::Connecting;
    } else if (error == 0 || IsConnectOutcome(error)) {
        CompleteConnect(*e, error);
    } else {
        return wsa::FromErrno(error);
    }
    Update(*e);
    return wsa::kWouldBlock;
}

int SocketSend(SocketHandle socket, const void* data, std::size_t length, std::size_t& sent) {
    sent = 0;
    Entry* e = Find(socket);
    if (!e) return wsa::kNotSocket;
    if (e->phase == Phase::Idle || e->phase == Phase::Connecting) return wsa::kNotConnected;
    ssize_t n = send(e->fd, data, length, MSG_NOSIGNAL);
    int code = 0;
    if (n >= 0) {
        sent = static_cast<std::size_t>(n);
        if (sent < length) e->writeArmed = true;
    } else {
        code = wsa::FromErrno(errno);
        if (code == wsa::kWouldBlock) e->writeArmed = true;
    }
    Update(*e);
    return code;
}

int SocketRecv(SocketHandle socket, void* buffer, std::size_t length, std::size_t& received) {
    received = 0;
    Entry* e = Find(socket);
    if (!e) return wsa::kNotSocket;
    if (e->phase == Phase::Idle) return wsa::kNotConnected;
    ssize_t n = recv(e->fd, buffer, length, 0);
    e->readArmed = true;
    int code = 0;
    if (n == 0 && e->unreadError != 0) {
        code = std::exchange(e->unreadError, 0);  // the end comes from a reset
    } else if (n >= 0) {
        received = static_cast<std::size_t>(n);
    } else {
        code = wsa::FromErrno(errno);
        if (code != wsa::kWouldBlock) e->resetError = code;
    }
    Update(*e);
    return code;
}

int SocketSetOption(SocketHandle socket, int level, int name, int value) {
    Entry* e = Find(socket);
    if (!e) return wsa::kNotSocket;
    if (setsockopt(e->fd, level, name, &value, sizeof value) < 0) return wsa::FromErrno(errno);
    return 0;
}

int SocketGetOption(SocketHandle socket, int level, int name, int& value) {
    Entry* e = Find(socket);
    if (!e) return wsa::kNotSocket;
    socklen_t length = sizeof value;
    if (getsockopt(e->fd, level, name, &value, &length) < 0) return wsa::FromErrno(errno);
    return 0;
}

int SocketLocalName(SocketHandle socket, std::uint32_t& addressNet, std::uint16_t& port) {
    Entry* e = Find(socket);
    if (!e) return wsa::kNotSocket;
    sockaddr_in address{};
    socklen_t length = sizeof address;
    if (getsockname(e->fd, reinterpret_cast<sockaddr*>(&address), &length) < 0) return wsa::FromErrno(errno);
    addressNet = address.sin_addr.s_addr;
    port = ntohs(address.sin_port);
    return 0;
}

}  // namespace platform
