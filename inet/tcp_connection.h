#pragma once
// One TCP client connection driven by socket notifications on the owning thread's loop:
// connect to RemoteHost:RemotePort, send, collect received bytes in the line buffer and
// hand them up line by line (or in pieces when a line does not fit), and report connect,
// disconnect, ready-to-send and errors through the hooks that the layers above override.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "inet/engine_string.h"
#include "inet/line_buffer.h"
#include "inet/socket_core.h"
#include "platform/socket_async.h"

namespace inet {

class TcpConnection : public SocketCore {
public:
    static constexpr std::uint16_t kDefaultMaxLineSize = 2048;

    TcpConnection();
    ~TcpConnection() override;

    // on: opens the socket and starts connecting (the outcome comes through OnConnected).
    // off: closes the connection.
    int Connect(bool on);
    // 10035 when only part was sent (BytesSent() tells how much); 10057 when not connected.
    int Send(const void* data, std::size_t length);
    std::size_t BytesSent() const { return bytesSent_; }
    bool Connected() const { return connected_; }
    platform::SocketHandle Socket() const { return socket_; }

    // The properties below may change only while no socket is open (100, 101, 106, 112).
    int SetRemoteHost(const std::string& host);  // resolves a name at once
    std::string GetRemoteHost() const;
    int SetRemotePort(std::uint16_t port);
    std::uint16_t RemotePort() const { return remotePort_; }
    int SetLocalPort(std::uint16_t port);
    std::uint16_t GetLocalPort() const;
    int SetMaxLineSize(std::uint16_t size);
    std::uint16_t MaxLineSize() const { return buffer_.Size(); }

    // The end-of-line text: a sequence, or with anyOf a set of delimiter chars; empty:
    // everything is handed up as it arrives.
    int SetEOL(std::string_view eol, bool anyOf = false);
    // Off: received data stays buffered (and unread in the socket) until it is on again.
    void SetAcceptData(bool on);
    bool AcceptData() const { return acceptData_; }
    int SetKeepAlive(bool on);
    bool KeepAlive() const { return keepAlive_; }
    int SetLinger(bool on);
    bool Linger() const { return linger_; }
    // 0 (the default) keeps the system's buffer size.
    int SetReceiveBufferSize(int bytes);
    int SetSendBufferSize(int bytes);

    std::string GetLocalHost() override;

protected:
    virtual void OnConnected(int /*code*/) {}
    virtual void OnDisconnected(int /*code*/) {}
    // A line without its end (endOfLine true), or a piece of one (false).
    virtual int OnDataIn(const char* /*data*/, std::size_t /*length*/, bool /*endOfLine*/) { return 0; }
    virtual void OnError(int /*code*/, const std::string& /*text*/) {}
    virtual void OnReadyToSend() {}

    void HandleMessage(const platform::Message& message) override;
    // Closes the socket and reports OnDisconnected(code); while a read runs, the close is
    // kept and completed when the read ends.
    int Disconnect(int code);
    bool ClosePending() const { return deferredClose_; }
    // Reads what the socket holds now, as a read notification would.
    void ReadNow();

private:
    enum class ReadMode { Normal, Flush, Final };

    void PostReadNotification();
    void HandleConnect(int error);
    int ReadLoop(ReadMode mode);
    int ReadLoopBody(ReadMode mode);
    bool StopReading() const;
    bool HandOut(bool rest);
    int ApplyOptions(platform::SocketHandle socket);
    int Close(int code, bool flush);
    void CloseSocket();
    int Busy(int code, const char* text);

    platform::SocketHandle socket_ = platform::kNoSocket;
    std::uint32_t remoteAddress_ = 0;  // network order
    EngineString remoteHost_;
    std::uint16_t remotePort_ = 0;
    std::uint16_t localPort_ = 0;
    int receiveBufferSize_ = 0;
    int sendBufferSize_ = 0;
    int keptCode_ = 0;  // of a close kept for the end of a read
    std::size_t bytesSent_ = 0;
    LineBuffer buffer_{kDefaultMaxLineSize};
    bool connected_ = false;
    bool acceptData_ = true;
    bool inRead_ = false;
    bool linger_ = true;
    bool keepAlive_ = false;
    bool deferredClose_ = false;
};

}  // namespace inet
