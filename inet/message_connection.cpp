#include "inet/message_connection.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "inet/engine_errors.h"
#include "inet/winsock_errors.h"
#include "platform/socket_errors.h"

namespace inet {

namespace {

constexpr int kStepMs = 10;
// Every this many passes a reply wait reads the socket itself, so a lost read notice
// cannot stall it.
constexpr unsigned kReadEveryPasses = 1001;

}  // namespace

MessageConnection::MessageConnection() = default;

MessageConnection::~MessageConnection() { CloseLocalFile(); }

int MessageConnection::AbandonWait(platform::SocketHandle waitedOn) {
    if (waitedOn != platform::kNoSocket && Socket() == waitedOn) Connect(false);
    return kErrInterrupted;
}

int MessageConnection::ConnectAndWait() {
    ClearInterruptRequest();
    if (Connected()) return 0;
    lastReply_.Clear();
    connectResult_ = 0;
    SetAcceptData(false);
    if (int code = Connect(true)) return code;
    platform::SocketHandle waitedOn = Socket();
    while (!Connected() && connectResult_ == 0)
        if (!WaitStep(kStepMs)) return AbandonWait(waitedOn);
    SetAcceptData(true);
    return connectResult_;
}

int MessageConnection::Disconnect() {
    ClearInterruptRequest();
    if (!Connected()) return 0;
    Connect(false);
    return WaitDisconnect();
}

int MessageConnection::WaitDisconnect() {
    if (!Connected() || ClosePending()) return 0;  // a kept close completes when the read ends
    disconnectResult_ = 0;
    platform::SocketHandle waitedOn = Socket();
    while (Connected() && disconnectResult_ == 0)
        if (!WaitStep(kStepMs)) return AbandonWait(waitedOn);
    return disconnectResult_;
}

int MessageConnection::SendAll(const void* data, std::size_t length) {
    ClearInterruptRequest();
    auto bytes = static_cast<const char*>(data);
    std::uint32_t total = 0;
    platform::SocketHandle waitedOn = Socket();
    while (length > 0) {
        int code = Send(bytes, length);
        if (code == 0) return 0;
        if (code != platform::wsa::kWouldBlock) return code;
        bytes += BytesSent();
        length -= BytesSent();
        total += static_cast<std::uint32_t>(BytesSent());
        if (!WaitStep(kStepMs)) return AbandonWait(waitedOn);
        if (int answer = SendProgress(total)) return answer;
    }
    return 0;
}

int MessageConnection::SendText(std::string_view text) {
    waitingForReply_ = true;
    lastReply_.Clear();
    SetAcceptData(false);
    if (int code = SendAll(text.data(), text.size())) {
        waitingForReply_ = false;
        SetAcceptData(true);
        return code;
    }
    return WaitReply();
}

int MessageConnection::SendCommand(std::string_view verb, std::string_view argument, std::string_view eol) {
    if (verb.empty()) return WaitReply();
    EngineString line;
    int code = line.Set(verb);
    if (!code && !argument.empty()) code = line.Append(" ");
    if (!code) code = line.Append(argument);
    if (!code) code = line.Append(eol);
    return code ? code : SendText(line.view());
}

int MessageConnection::WaitReply() {
    ClearInterruptRequest();
    lastReply_.Clear();
    replyError_ = 0;
    waitingForReply_ = true;
    SetAcceptData(true);
    platform::SocketHandle waitedOn = Socket();
    for (unsigned pass = 1;; ++pass) {
        if (!WaitStep(kStepMs)) return AbandonWait(waitedOn);
        if (pass % kReadEveryPasses == 0) ReadNow();
        if (!waitingForReply_) return replyError_;
        if (int code = ReplyCheck()) return code;
        if (!Connected()) return kErrInterrupted;
    }
}

int MessageConnection::AppendReply(const char* data, std::size_t length, bool endOfLine) {
    if (lastReply_.size() + length > kMaxReplyLength || lastReply_.Append({data, length}) != 0) {
        OnError(kErrOutOfMemory, kTextReplyOutOfMemory);
        replyError_ = kErrOutOfMemory;
        waitingForReply_ = false;
        SetAcceptData(false);
        return kErrOutOfMemory;
    }
    if (endOfLine) {
        waitingForReply_ = false;
        if (pauseAfterReply_) SetAcceptData(false);
    }
    return 0;
}

int MessageConnection::OnDataIn(const char* data, std::size_t length, bool endOfLine) {
    return AppendReply(data, length, endOfLine);
}

std::string MessageConnection::NoticeText(int code) { return code == 0 ? "OK" : ErrorText(code); }

void MessageConnection::OnConnected(int code) {
    connectResult_ = code;
    ConnectedText(code, NoticeText(code));
}

void MessageConnection::OnDisconnected(int code) {
    disconnectResult_ = code;
    CloseLocalFile();
    DisconnectedText(code, NoticeText(code));
}

int MessageConnection::OpenLocalFile() {
    if (localFile_.empty() || localFd_ >= 0) return 0;
    localFd_ = open(localFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (localFd_ >= 0) return 0;
    SetLastError(kTextOpenLocalFile);
    OnError(kErrFileAccess, kTextOpenLocalFile);
    return kErrFileAccess;
}

int MessageConnection::WriteLocalFile(const char* data, std::size_t length) {
    while (length > 0) {
        ssize_t n = write(localFd_, data, length);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            CloseLocalFile();
            OnError(kErrWriteLocalFile, kTextWriteLocalFile);
            return kErrWriteLocalFile;
        }
        data += n;
        length -= static_cast<std::size_t>(n);
    }
    return 0;
}

void MessageConnection::CloseLocalFile() {
    if (localFd_ >= 0) close(localFd_);
    localFd_ = -1;
}

}  // namespace inet
