#include "inet/tcp_connection.h"

#include <netinet/in.h>
#include <sys/socket.h>

#include <cassert>

#include "inet/engine_errors.h"
#include "platform/socket_errors.h"
#include "platform/socket_resolver.h"

namespace inet {

namespace {

// The most bytes one read notification takes from the socket.
constexpr std::size_t kMaxReadPass = 64 * 1024;

constexpr std::uint32_t kAllEvents = platform::kFdRead | platform::kFdWrite | platform::kFdConnect | platform::kFdClose;

}  // namespace

TcpConnection::TcpConnection() : SocketCore(true) {}

TcpConnection::~TcpConnection() {
    if (socket_ != platform::kNoSocket) platform::SocketClose(socket_);
}

int TcpConnection::Busy(int code, const char* text) {
    SetLastError(text);
    return code;
}

int TcpConnection::Connect(bool on) {
    assert(OnOwnerThread());
    if (!on) return Disconnect(0);
    if (socket_ != platform::kNoSocket) return Busy(kErrAlreadyConnected, kTextAlreadyConnected);
    deferredClose_ = false;
    keptCode_ = 0;
    buffer_.Clear();
    if (remoteAddress_ == 0) return Busy(kErrAddressInvalid, kTextAddressInvalid);
    if (remotePort_ == 0) return Busy(kErrPortZero, kTextPortZero);
    if (!WinsockLoaded()) return platform::wsa::kNotInitialised;
    connected_ = false;
    platform::SocketHandle s;
    int code = platform::SocketCreate(s);
    if (code) return code;
    // Without a local port the connect binds the socket itself, to any address.
    if (localPort_ != 0) code = platform::SocketBind(s, localPort_);
    if (!code) code = ApplyOptions(s);
    if (!code) code = platform::SocketAsyncSelect(s, Target(), kSocketMessage, kAllEvents);
    if (!code) {
        code = platform::SocketConnect(s, remoteAddress_, remotePort_);
        if (code == platform::wsa::kWouldBlock) code = 0;
    }
    if (code) {
        platform::SocketClose(s);
        return code;
    }
    socket_ = s;
    return 0;
}

int TcpConnection::ApplyOptions(platform::SocketHandle s) {
    // A new socket has keep-alive off: only a change is a call.
    int code = keepAlive_ ? platform::SocketSetOption(s, SOL_SOCKET, SO_KEEPALIVE, 1) : 0;
    if (!code && receiveBufferSize_ > 0) code = platform::SocketSetOption(s, SOL_SOCKET, SO_RCVBUF, receiveBufferSize_);
    if (!code && sendBufferSize_ > 0) code = platform::SocketSetOption(s, SOL_SOCKET, SO_SNDBUF, sendBufferSize_);
    if (!code) code = platform::SocketSetOption(s, SOL_SOCKET, SO_OOBINLINE, 1);
    return code;
}

int TcpConnection::Send(const void* data, std::size_t length) {
    assert(OnOwnerThread());
    if (!connected_) return platform::wsa::kNotConnected;
    if (length == 0) return 0;
    std::size_t sent = 0;
    int code = platform::SocketSend(socket_, data, length, sent);
    bytesSent_ = sent;
    // A send that finds the connection reset takes the error from the socket, so no later
    // notice carries it: the connection ends here, reported with the error.
    if (code == platform::wsa::kConnectionReset || code == platform::wsa::kConnectionAborted) Disconnect(code);
    if (code) return code;
    return sent < length ? platform::wsa::kWouldBlock : 0;
}

void TcpConnection::HandleMessage(const platform::Message& message) {
    if (message.id != kSocketMessage || socket_ == platform::kNoSocket ||
        message.wParam != static_cast<std::uintptr_t>(socket_))
        return;
    int error = platform::SelectError(message.lParam);
    switch (platform::SelectEvent(message.lParam)) {
    case platform::kFdRead:
        if (!connected_) HandleConnect(0);  // data before the connect notice: it is up
        if (socket_ != platform::kNoSocket && acceptData_ && !inRead_) ReadLoop(ReadMode::Normal);
        break;
    case platform::kFdWrite:
        OnReadyToSend();
        break;
    case platform::kFdConnect:
        HandleConnect(error);
        break;
    case platform::kFdClose:
        keptCode_ = error;
        if (!inRead_) ReadLoop(ReadMode::Final);
        Disconnect(error);
        break;
    default:
        break;
    }
}

void TcpConnection::HandleConnect(int error) {
    if (connected_) return;
    connected_ = true;  // out-of-band data comes inline since the socket was made
    OnConnected(error);
    if (error != 0) CloseSocket();
}

void TcpConnection::CloseSocket() {
    if (socket_ != platform::kNoSocket) platform::SocketClose(socket_);
    socket_ = platform::kNoSocket;
    connected_ = false;
    bytesSent_ = 0;
    acceptData_ = true;
    inRead_ = false;
    deferredClose_ = false;
}

void TcpConnection::ReadNow() {
    if (socket_ != platform::kNoSocket && connected_ && acceptData_ && !inRead_) ReadLoop(ReadMode::Normal);
}

bool TcpConnection::StopReading() const {
    return socket_ == platform::kNoSocket || !acceptData_ || InterruptPending() || deferredClose_;
}

// Hands up every complete line (or, without an end-of-line text, everything), then with
// rest also an incomplete last line. False when delivery was stopped.
bool TcpConnection::HandOut(bool rest) {
    while (!StopReading()) {
        std::string_view piece;
        if (buffer_.HasEOL()) {
            if (!buffer_.NextLine(piece)) break;
            OnDataIn(piece.data(), piece.size(), true);
        } else {
            if (buffer_.Unread() == 0) break;
            piece = buffer_.TakeAll();
            OnDataIn(piece.data(), piece.size(), false);
        }
    }
    if (rest && !StopReading() && buffer_.Unread() > 0) {
        std::string_view piece = buffer_.TakeAll();
        if (!piece.empty()) OnDataIn(piece.data(), piece.size(), false);
    }
    return !StopReading();
}

// A close asked for while the read ran (by a handler, or by the peer's close) is
// completed as soon as the read ends, whatever ended it.
int TcpConnection::ReadLoop(ReadMode mode) {
    bool outermost = !inRead_;
    inRead_ = true;
    int result = ReadLoopBody(mode);
    if (outermost) {
        inRead_ = false;
        if (deferredClose_ && socket_ != platform::kNoSocket) {
            deferredClose_ = false;
            Close(keptCode_, false);  // who asked for the close wants no more data
        }
    }
    return result;
}

int TcpConnection::ReadLoopBody(ReadMode mode) {
    std::size_t taken = 0;
    while (!StopReading()) {
        if (!HandOut(false)) break;
        std::span<char> space = buffer_.FreeSpace();
        if (space.empty()) {  // a full buffer without a line end: hand it up as a piece
            std::string_view piece = buffer_.HasEOL() ? buffer_.TakePiece() : buffer_.TakeAll();
            OnDataIn(piece.data(), piece.size(), false);
            continue;
        }
        std::size_t received = 0;
        int code = platform::SocketRecv(socket_, space.data(), space.size(), received);
        if (code == platform::wsa::kWouldBlock || code == platform::wsa::kNotSocket) {
            if (mode == ReadMode::Final) HandOut(true);  // nothing more will come
            return 0;
        }
        if (code) {
            // The connection is over (a reset): it closes with the error once the read ends,
            // before a later receive could find only its end and report an orderly close.
            OnError(code, kTextRecvError);
            keptCode_ = code;
            deferredClose_ = socket_ != platform::kNoSocket;
            return code;
        }
        buffer_.Commit(received);
        if (received == 0) {  // the peer closed: the rest goes up, then the close
            HandOut(true);
            deferredClose_ = socket_ != platform::kNoSocket;
            return 0;
        }
        if (mode == ReadMode::Flush) {
            HandOut(true);
            return 0;
        }
        // One pass takes a bounded amount, so that the thread's timers and other work run
        // between passes however fast the peer sends; the socket reports the rest again.
        taken += received;
        if (mode == ReadMode::Normal && taken >= kMaxReadPass) {
            HandOut(false);
            return 0;
        }
    }
    return 0;
}

int TcpConnection::Disconnect(int code) { return Close(code, true); }

int TcpConnection::Close(int code, bool flush) {
    assert(OnOwnerThread());
    if (socket_ == platform::kNoSocket) {
        CloseSocket();
        return 0;
    }
    platform::SocketAsyncSelect(socket_, Target(), kSocketMessage, 0);
    if (inRead_) {
        deferredClose_ = true;
        keptCode_ = code;
        return 0;
    }
    keptCode_ = code;
    if (flush && acceptData_ && connected_) ReadLoop(ReadMode::Flush);
    if (socket_ == platform::kNoSocket) return 0;  // closed by a handler during the flush
    int result = platform::SocketClose(socket_);
    socket_ = platform::kNoSocket;
    connected_ = false;
    OnDisconnected(code);
    CloseSocket();
    return result;
}

void TcpConnection::PostReadNotification() {
    Loop().Post(platform::Message{Target(), kSocketMessage, static_cast<std::uintptr_t>(socket_),
                                  platform::MakeSelectReply(platform::kFdRead, 0)});
}

int TcpConnection::SetRemoteHost(const std::string& host) {
    assert(OnOwnerThread());
    ClearLastError();
    if (socket_ != platform::kNoSocket) return Busy(kErrRemoteHostBusy, kTextRemoteHostBusy);
    if (int code = remoteHost_.Set(host)) return code;
    return ResolveInto(host, remoteAddress_);
}

std::string TcpConnection::GetRemoteHost() const {
    return remoteAddress_ == 0 ? std::string() : platform::DottedAddress(remoteAddress_);
}

int TcpConnection::SetRemotePort(std::uint16_t port) {
    ClearLastError();
    if (socket_ != platform::kNoSocket) return Busy(kErrRemotePortBusy, kTextRemotePortBusy);
    remotePort_ = port;
    return 0;
}

int TcpConnection::SetLocalPort(std::uint16_t port) {
    ClearLastError();
    if (socket_ != platform::kNoSocket) return Busy(kErrLocalPortBusy, kTextLocalPortBusy);
    localPort_ = port;
    return 0;
}

std::uint16_t TcpConnection::GetLocalPort() const {
    if (socket_ == platform::kNoSocket) return localPort_;
    std::uint32_t address = 0;
    std::uint16_t port = 0;
    return platform::SocketLocalName(socket_, address, port) ? 0 : port;
}

int TcpConnection::SetMaxLineSize(std::uint16_t size) {
    ClearLastError();
    if (socket_ != platform::kNoSocket) return Busy(kErrMaxLineSizeBusy, kTextMaxLineSizeBusy);
    return buffer_.Resize(size);
}

int TcpConnection::SetEOL(std::string_view eol, bool anyOf) {
    ClearLastError();
    if (int code = buffer_.SetEOL(eol, anyOf)) return code;
    if (connected_) PostReadNotification();  // scan what is buffered again
    return 0;
}

void TcpConnection::SetAcceptData(bool on) {
    ClearLastError();
    acceptData_ = on;
    if (on && connected_) PostReadNotification();
}

int TcpConnection::SetKeepAlive(bool on) {
    ClearLastError();
    keepAlive_ = on;
    if (socket_ == platform::kNoSocket) return 0;
    int code = platform::SocketSetOption(socket_, SOL_SOCKET, SO_KEEPALIVE, on ? 1 : 0);
    if (code) {
        int actual = 0;
        platform::SocketGetOption(socket_, SOL_SOCKET, SO_KEEPALIVE, actual);
        keepAlive_ = actual != 0;
    }
    return code;
}

// Kept as a setting only: closing is always the system's orderly close, which neither
// blocks the thread nor resets the connection.
int TcpConnection::SetLinger(bool on) {
    ClearLastError();
    linger_ = on;
    return 0;
}

int TcpConnection::SetReceiveBufferSize(int bytes) {
    ClearLastError();
    receiveBufferSize_ = bytes;
    if (socket_ == platform::kNoSocket || bytes <= 0) return 0;
    return platform::SocketSetOption(socket_, SOL_SOCKET, SO_RCVBUF, bytes);
}

int TcpConnection::SetSendBufferSize(int bytes) {
    ClearLastError();
    sendBufferSize_ = bytes;
    if (socket_ == platform::kNoSocket || bytes <= 0) return 0;
    return platform::SocketSetOption(socket_, SOL_SOCKET, SO_SNDBUF, bytes);
}

std::string TcpConnection::GetLocalHost() {
    if (connected_) {
        std::uint32_t address = 0;
        std::uint16_t port = 0;
        if (platform::SocketLocalName(socket_, address, port) == 0) return platform::DottedAddress(address);
    }
    return SocketCore::GetLocalHost();
}

}  // namespace inet
