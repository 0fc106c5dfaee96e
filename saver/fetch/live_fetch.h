#pragma once
// The screen saver's blocking picture fetch over libcurl (http and https): the webcam's Basic
// login, the proxy with its own login, Referer and User-Agent, the body kept in memory up to a
// cap, a time-out for the whole transfer, and a cancel that any thread may call to make a
// running Get return at once.

#include "engine/fetch_thread.h"

#include <atomic>
#include <chrono>
#include <cstddef>
#include <string>

namespace saver {

struct LiveRequest {
    std::string url;
    std::string referer;       // empty: no Referer
    std::string user;          // empty: no login
    std::string password;
    std::string proxyHost;     // empty: no proxy
    int proxyPort = 0;
    std::string proxyUser;     // empty: no proxy login
    std::string proxyPassword;
    std::chrono::milliseconds timeout{30000};
    std::size_t maxBody = engine::kMaxPictureBytes;  // as the main program's fetch threads
};

struct LiveReply {
    bool ok = false;           // a 2xx answer whose whole body is in body
    std::string body;
    std::string error;         // why it failed
};

class LiveFetch {
public:
    LiveFetch();
    ~LiveFetch();
    LiveFetch(const LiveFetch&) = delete;
    LiveFetch& operator=(const LiveFetch&) = delete;

    // Blocks until the reply has ended, failed, timed out or was cancelled. One Get at a time.
    LiveReply Get(const LiveRequest& request);

    // Any thread: a running Get returns at once, a later one fails without connecting.
    void Cancel();
    bool Cancelled() const { return cancelled_.load(); }

private:
    std::atomic<bool> cancelled_{false};
    void* multi_;  // the CURLM handle; lives as long as the object, so Cancel can wake it
};

}  // namespace saver
