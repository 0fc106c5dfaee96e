#pragma once
// A web server on 127.0.0.1 that answers every request in one fixed way, healthy or hostile,
// for the tests and benchmarks of what the program does against servers that misbehave. It
// serves any number of connections at once, each on its own thread, and counts them. Every
// wait ends when the peer is destroyed, so a client that misbehaves cannot hang a test.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <list>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace testsupport {

class HostilePeer {
public:
    enum class Kind {
        Picture,        // 200 with the next picture of the list and its Content-Length (HEAD: the head)
        PacedPicture,   // as Picture, each reply sent one pace after its request: a camera with a
                        // new picture several times a second, fetched at refresh 0
        HeaderFlood,    // a status line, then header lines for ever
        BusySocket,     // 200, then body bytes as fast as the client takes them, for ever
        ByteASecond,    // 200 with a Content-Length, then one body byte every pace
        EmptyReply,     // the connection closed without a byte
        TruncatedJpeg,  // 200 with the first half of the picture, Content-Length saying so
        Html,           // 200 with an HTML page
        Chunked,        // HTTP/1.1 200 with the picture in chunked framing
        NoStatusLine,   // bytes that are no reply at all
        EndlessBody,    // 200 with a picture's head, then body bytes for ever, to a HEAD as well
    };

    // A camera with five new pictures a second: the pace for PacedPicture.
    static constexpr std::chrono::milliseconds kCameraPace{200};

    // pictures: what Picture and PacedPicture cycle through and TruncatedJpeg and Chunked send
    // (the first one). pace: of PacedPicture's replies and ByteASecond's bytes.
    HostilePeer(Kind kind, std::vector<std::string> pictures = {},
                std::chrono::milliseconds pace = std::chrono::seconds(1));
    ~HostilePeer();
    HostilePeer(const HostilePeer&) = delete;
    HostilePeer& operator=(const HostilePeer&) = delete;

    std::uint16_t port() const { return port_; }
    // "http://127.0.0.1:<port>" followed by path.
    std::string Url(std::string_view path = "/cam.jpg") const;
    // Connections accepted so far.
    long Connections() const { return connections_; }
    // Bytes sent so far on every connection together.
    long long BytesSent() const { return bytesSent_; }

    static const char* KindName(Kind kind);

private:
    struct Worker {
        std::thread thread;
        std::atomic<bool> done{false};
    };

    void Accept();
    void Serve(int connection);
    bool ReadRequest(int connection, std::string& request);
    bool Send(int connection, std::string_view bytes);
    // False when the peer stops first.
    bool Pause(std::chrono::milliseconds time);
    void Reap(bool all);

    const Kind kind_;
    const std::vector<std::string> pictures_;
    const std::chrono::milliseconds pace_;
    int listenFd_ = -1;
    int stopFd_ = -1;
    std::uint16_t port_ = 0;
    std::atomic<long> connections_{0};
    std::atomic<long> picturesSent_{0};
    std::atomic<long long> bytesSent_{0};
    std::list<Worker> workers_;  // accepting thread only
    std::thread acceptor_;
};

}  // namespace testsupport
