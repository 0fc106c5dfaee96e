#pragma once
// Non-blocking TCP sockets whose events arrive as messages on the owning thread's loop,
// with the Winsock asynchronous-select rules:
// - FD_READ is posted once and enabled again by the next receive;
// - FD_WRITE after the connection is up and after a send that could not take everything;
// - FD_CONNECT and FD_CLOSE once each; a connect that completes or fails at once is still
//   reported through FD_CONNECT;
// - FD_CLOSE comes only after the data that was still readable at the close, with 0 for an
//   orderly close and the error (10054 for a reset) otherwise.
// The message's wParam is the socket handle and its lParam the select reply (event in the
// low word, error in the high word). Handles are never reused in a process, and closing a
// socket drops its undelivered notifications, so nothing meant for a closed socket reaches
// a new one.
//
// A socket belongs to the thread that created it; a handle used on another thread is
// not a socket there (10038). Results are 0 or a Winsock code.

#include <cstddef>
#include <cstdint>

#include "platform/message_loop.h"

namespace platform {

using SocketHandle = int;
constexpr SocketHandle kNoSocket = -1;

constexpr std::uint32_t kFdRead = 0x01;
constexpr std::uint32_t kFdWrite = 0x02;
constexpr std::uint32_t kFdConnect = 0x10;
constexpr std::uint32_t kFdClose = 0x20;

constexpr std::intptr_t MakeSelectReply(std::uint32_t event, int error) {
    return static_cast<std::intptr_t>((static_cast<std::uint32_t>(error) & 0xFFFF) << 16 | (event & 0xFFFF));
}
constexpr std::uint32_t SelectEvent(std::intptr_t lParam) { return static_cast<std::uint32_t>(lParam) & 0xFFFF; }
constexpr int SelectError(std::intptr_t lParam) { return static_cast<int>((static_cast<std::uint32_t>(lParam) >> 16) & 0xFFFF); }

// An IPv4 stream socket on the calling thread's loop.
int SocketCreate(SocketHandle& socket);
int SocketClose(SocketHandle socket);
// Binds to any local address and the given port (0: any).
int SocketBind(SocketHandle socket, std::uint16_t port);
// Events (kFd*) go to target as message id; 0 stops all notifications.
int SocketAsyncSelect(SocketHandle socket, TargetId target, std::uint32_t message, std::uint32_t events);
// 10035: the outcome follows as FD_CONNECT. Any other non-zero result failed at once.
int SocketConnect(SocketHandle socket, std::uint32_t addressNet, std::uint16_t port);
// sent < length with result 0 is a partial send; 10035 sent nothing. A send to a peer
// that is gone fails with its code and never raises SIGPIPE.
int SocketSend(SocketHandle socket, const void* data, std::size_t length, std::size_t& sent);
// received 0 with result 0: the peer closed the connection.
int SocketRecv(SocketHandle socket, void* buffer, std::size_t length, std::size_t& received);
int SocketSetOption(SocketHandle socket, int level, int name, int value);
int SocketGetOption(SocketHandle socket, int level, int name, int& value);
int SocketLocalName(SocketHandle socket, std::uint32_t& addressNet, std::uint16_t& port);

}  // namespace platform
