#pragma once
// The engines' result codes and the texts they store with them. 0 is success; Winsock
// codes (10000 and above) pass through the layers unchanged.

namespace inet {

constexpr int kErrWriteLocalFile = 7;
constexpr int kErrRemotePortBusy = 100;
constexpr int kErrRemoteHostBusy = 101;
constexpr int kErrAddressInvalid = 102;
constexpr int kErrAlreadyConnected = 104;
constexpr int kErrLocalPortBusy = 106;
constexpr int kErrMaxLineSizeBusy = 112;
constexpr int kErrPortZero = 116;
constexpr int kErrOutOfMemory = 200;
constexpr int kErrInterrupted = 301;
constexpr int kErrFileAccess = 302;

inline constexpr const char* kTextWriteLocalFile = "Error writing to LocalFile";
inline constexpr const char* kTextRemotePortBusy =
    "You cannot change the RemotePort at this time. A connection is in progress.";
inline constexpr const char* kTextRemoteHostBusy =
    "You cannot change the RemoteHost at this time. A connection is in progress.";
inline constexpr const char* kTextAddressInvalid = "The RemoteHost address is invalid (0.0.0.0).";
inline constexpr const char* kTextAlreadyConnected =
    "Already connected. If you want to reconnect, close the current connection first.";
inline constexpr const char* kTextLocalPortBusy =
    "You cannot change the LocalPort at this time. A connection is in progress.";
inline constexpr const char* kTextMaxLineSizeBusy =
    "You cannot change MaxLineSize at this time. A connection is in progress.";
inline constexpr const char* kTextPortZero = "RemotePort can't be zero. Please specify a valid service port number.";
inline constexpr const char* kTextOutOfMemory = "Out of memory.";
inline constexpr const char* kTextReplyOutOfMemory = "Out of memory in DataIn [IPPMsg].";
inline constexpr const char* kTextInterrupted = "Interrupted.";
inline constexpr const char* kTextOpenLocalFile = "Can't open local file for writing.";
inline constexpr const char* kTextRecvError = "Winsock error in recv()";

}  // namespace inet
