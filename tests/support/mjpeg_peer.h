#pragma once
// A scripted MJPEG server on 127.0.0.1 for the stream-thread tests and the stream benchmark.
// It serves one connection at a time. Connection i plays reply i of its list (the last reply
// again on every later connection): it reads the request head, unless the reply is a raw
// stream that starts at once, then sends the reply's head and its body a number of times, in
// pieces of the given size with a pause after each, and ends as the reply says: an orderly
// close, a reset, a stall (the connection stays open and silent until the client goes) or a
// repeat (the body again and again until the client goes). Each connection is recorded: its
// request, when it was accepted, when the reply was all sent and when it ended. Every wait also
// ends when the peer is destroyed, so a client that misbehaves cannot hang a test.

#include <time.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace testsupport {

// How a multipart body wraps each picture.
struct PartStyle {
    std::string boundary = "frame";
    bool firstBoundary = true;  // false: the first part starts without its boundary line
    bool contentLength = true;  // a Content-Length line in each part
    std::string contentType = "image/jpeg";
};

// The head of a multipart reply: status 200 and the content type with its boundary parameter.
std::string MultipartHead(std::string_view type = "multipart/x-mixed-replace", std::string_view boundary = "frame");
// The pictures as parts: boundary line, part headers, blank line, picture, CR LF.
std::string MultipartBody(const std::vector<std::string>& pictures, const PartStyle& style = {});

class MjpegPeer {
public:
    using Clock = std::chrono::steady_clock;
    enum class End { Close, Reset, Stall, Repeat };
    struct Reply {
        std::string head;                     // sent once; empty for raw pictures
        std::string body;                     // multipart or raw pictures
        std::size_t times = 1;                // how often the body is sent (Repeat: on and on)
        std::size_t piece = 0;                // sent in pieces of this size; 0: at once
        std::chrono::milliseconds pause{0};  // after each piece
        End end = End::Close;
        bool readRequest = true;  // false: sends at once, as a raw camera stream does
    };
    struct Visit {
        std::string request;
        Clock::time_point accepted;
        Clock::time_point sent;   // the reply all sent (for Repeat: the client went)
        Clock::time_point ended;  // the connection closed
        bool done = false;        // ended
    };

    // Port 0: a free port. When the port given cannot be bound, Listening() is false.
    explicit MjpegPeer(std::vector<Reply> replies, std::uint16_t port = 0);
    ~MjpegPeer();
    MjpegPeer(const MjpegPeer&) = delete;
    MjpegPeer& operator=(const MjpegPeer&) = delete;

    bool Listening() const { return listenFd_ >= 0; }
    std::uint16_t port() const { return port_; }
    // "http://127.0.0.1:<port>" followed by path.
    std::string Url(std::string_view path = "/") const;

    std::vector<Visit> Visits() const;
    // Whether n connections were accepted (ended) within the timeout.
    bool WaitAccepted(std::size_t n, std::chrono::milliseconds timeout = std::chrono::seconds(20));
    bool WaitEnded(std::size_t n, std::chrono::milliseconds timeout = std::chrono::seconds(20));
    // CPU time the peer's thread has used so far.
    double CpuSeconds() const;

private:
    void Run();
    void Serve(int connection, const Reply& reply, std::size_t visit);
    bool ReadRequest(int connection, std::string& request);
    // Sends in pieces with the reply's pause after each; false when the client went or the
    // peer stops.
    bool SendPaced(int connection, std::string_view bytes, const Reply& reply);
    bool SendAll(int connection, std::string_view bytes);
    // Waits for the connection to become ready (events) or the peer to stop; false on stop,
    // error or time-out (-1: none).
    bool WaitFor(int connection, short events, int timeoutMs);
    void WaitClientGone(int connection, int timeoutMs);
    template <typename Change>
    void Record(std::size_t visit, Change change);

    std::vector<Reply> replies_;
    int listenFd_ = -1;
    int stopFd_ = -1;
    std::uint16_t port_ = 0;
    mutable std::mutex lock_;  // guards visits_
    std::condition_variable changed_;
    std::vector<Visit> visits_;
    std::thread thread_;
    clockid_t cpuClock_{};  // the peer thread's CPU clock
};

}  // namespace testsupport
