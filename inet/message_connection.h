#pragma once
// The layer between the TCP connection and the protocol engines: synchronous steps
// (connect and wait, send everything, send a command and wait for one reply line, wait for
// the disconnect), the reply line collected in LastReply, and connect and disconnect
// notices with a text. Every wait is a run of 10 ms wait steps, so the thread's loop keeps
// running: its timers, posted tasks and other targets are served during a wait.
//
// A wait that ends early (interrupt, time-out, quit, the connection lost while a reply
// was awaited) gives 301. An interrupted exchange leaves the connection in no known state,
// so the connection it was waiting on is closed: it is never reused.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "inet/engine_string.h"
#include "inet/tcp_connection.h"

namespace inet {

class MessageConnection : public TcpConnection {
public:
    // A reply line longer than this fails the wait with 200 instead of growing without end.
    static constexpr std::size_t kMaxReplyLength = 64 * 1024;

    MessageConnection();
    ~MessageConnection() override;

    int ConnectAndWait();
    int Disconnect();
    int WaitDisconnect();
    // 10035 from the connection is waited out; other codes end the send.
    int SendAll(const void* data, std::size_t length);
    // Sends text and waits for one reply line.
    int SendText(std::string_view text);
    // verb, " " and the argument when there is one, and eol; an empty verb sends nothing
    // and only waits for a line (a greeting).
    int SendCommand(std::string_view verb, std::string_view argument = {}, std::string_view eol = "\r\n");
    // Waits for the next reply line (one line per call: the next stays buffered).
    int WaitReply();

    const EngineString& LastReply() const { return lastReply_; }
    // On (the default): after a complete reply line reading pauses until the next wait.
    void SetPauseAfterReply(bool on) { pauseAfterReply_ = on; }
    bool PauseAfterReply() const { return pauseAfterReply_; }
    int ConnectResult() const { return connectResult_; }
    int DisconnectResult() const { return disconnectResult_; }

    // The file that receives a reply; closed at every disconnect.
    void SetLocalFile(std::string name) { localFile_ = std::move(name); }
    const std::string& LocalFile() const { return localFile_; }
    bool LocalFileOpen() const { return localFd_ >= 0; }
    int OpenLocalFile();
    int WriteLocalFile(const char* data, std::size_t length);
    void CloseLocalFile();
    // Non-zero while a body is being sent: progress is reported only then.
    void SetTransferState(std::uint8_t state) { transferState_ = state; }

protected:
    void OnConnected(int code) override;
    void OnDisconnected(int code) override;
    int OnDataIn(const char* data, std::size_t length, bool endOfLine) override;

    // Hooks for the engines; the defaults do nothing.
    virtual void ConnectedText(int /*code*/, const std::string& /*text*/) {}
    virtual void DisconnectedText(int /*code*/, const std::string& /*text*/) {}
    virtual int ReplyCheck() { return 0; }
    virtual int Progress(std::uint32_t /*bytes*/) { return 0; }

    // The default reply collection: appends to LastReply; a line end ends the wait.
    int AppendReply(const char* data, std::size_t length, bool endOfLine);
    int SendProgress(std::uint32_t bytes) { return transferState_ ? Progress(bytes) : 0; }

private:
    int AbandonWait(platform::SocketHandle waitedOn);
    static std::string NoticeText(int code);

    bool waitingForReply_ = false;
    bool pauseAfterReply_ = true;
    int replyError_ = 0;
    int connectResult_ = 0;
    int disconnectResult_ = 0;
    std::string localFile_;
    int localFd_ = -1;
    EngineString lastReply_;
    std::uint8_t transferState_ = 0;
};

}  // namespace inet
