#pragma once
// An in-process scripted TCP peer on 127.0.0.1 for tests of the internet components.
// It listens on a free port, accepts one connection and plays its script on it: receive
// until a text has arrived, receive a number of bytes, send bytes, wait, wait for the
// test to open a gate, close in order or reset. Everything it received is recorded.
// After the script it keeps reading (and recording) until the other side closes.
// Every step is bounded, so a client that misbehaves cannot hang a test.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testsupport {

class LoopbackPeer {
public:
    struct Step {
        enum class Kind { ReceiveUntil, ReceiveBytes, Send, Delay, Gate, Close, Reset } kind;
        std::string text;
        std::size_t count = 0;
        std::chrono::milliseconds delay{0};
    };
    static Step ReceiveUntil(std::string text) { return {Step::Kind::ReceiveUntil, std::move(text), 0, {}}; }
    static Step ReceiveBytes(std::size_t count) { return {Step::Kind::ReceiveBytes, {}, count, {}}; }
    static Step Send(std::string bytes) { return {Step::Kind::Send, std::move(bytes), 0, {}}; }
    static Step Delay(std::chrono::milliseconds ms) { return {Step::Kind::Delay, {}, 0, ms}; }
    // Waits until the test calls OpenGate().
    static Step Gate() { return {Step::Kind::Gate, {}, 0, {}}; }
    // Orderly close: FIN, then reading on until the other side closes.
    static Step Close() { return {Step::Kind::Close, {}, 0, {}}; }
    // Abortive close: the other side sees a reset.
    static Step Reset() { return {Step::Kind::Reset, {}, 0, {}}; }

    explicit LoopbackPeer(std::vector<Step> script);
    ~LoopbackPeer();
    LoopbackPeer(const LoopbackPeer&) = delete;
    LoopbackPeer& operator=(const LoopbackPeer&) = delete;

    std::uint16_t port() const { return port_; }
    // The dotted address to connect to.
    static const char* host() { return "127.0.0.1"; }

    std::string Received() const;
    void OpenGate();
    // True when the script ran to its end within the timeout (false: a step timed out).
    bool WaitScriptDone(std::chrono::milliseconds timeout = std::chrono::seconds(10));
    // True when the other side closed the connection within the timeout.
    bool WaitClientClosed(std::chrono::milliseconds timeout = std::chrono::seconds(10));

private:
    void Run();
    bool Play(int connection, const Step& step);
    bool ReadSome(int connection, int timeoutMs);
    bool WaitReadable(int fd, int timeoutMs);
    void ReadUntilClosed(int connection);

    std::vector<Step> script_;
    int listenFd_ = -1;
    int stopFd_ = -1;
    std::uint16_t port_ = 0;
    mutable std::mutex stateLock_;  // guards received_ and the flags below it
    std::condition_variable stateChanged_;
    std::string received_;
    std::size_t consumed_ = 0;  // peer thread only: bytes taken by the receive steps
    bool gateOpen_ = false;
    bool scriptDone_ = false;
    bool scriptOk_ = false;
    bool clientClosed_ = false;
    bool stopping_ = false;
    std::thread thread_;
};

// A loopback port on which nothing listens (it was free a moment ago).
std::uint16_t ClosedLoopbackPort();

// A socket listening on a free port of 127.0.0.1 (port receives it); throws when it cannot.
int ListenOnLoopback(std::uint16_t& port, int backlog = 4);

}  // namespace testsupport
