#pragma once
// Socket results in the Winsock numbering that the internet components report:
// 0 for success, else a code of 10000 and above (11000 and above for host look-up).

namespace platform::wsa {

constexpr int kInvalidArgument = 10022;
constexpr int kWouldBlock = 10035;
constexpr int kAlreadyInProgress = 10037;
constexpr int kNotSocket = 10038;
constexpr int kConnectionAborted = 10053;
constexpr int kConnectionReset = 10054;
constexpr int kNoBufferSpace = 10055;
constexpr int kIsConnected = 10056;
constexpr int kNotConnected = 10057;
constexpr int kNotInitialised = 10093;
constexpr int kHostNotFound = 11001;
constexpr int kTryAgain = 11002;
constexpr int kNoRecovery = 11003;
constexpr int kNoData = 11004;

// The Winsock code for a POSIX errno value (0 stays 0).
int FromErrno(int error);
// The Winsock code for a getaddrinfo result (0 stays 0).
int FromAddrInfo(int result);

}  // namespace platform::wsa
