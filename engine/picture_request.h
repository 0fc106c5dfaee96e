#pragma once
// What the fetch and stream threads share about a webcam's picture request: their HTTP
// component, its set-up, the watch that ends a request that is halted or has gone quiet, and
// the error-log entry of a failed request. Everything here runs on the requesting thread,
// except ThreadHttp::Interrupt.

#include "engine/webcam_records.h"
#include "inet/tvx_http.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace engine {

class twebcammanager;

// A thread's own HTTP component, which other threads may interrupt. The owning thread makes,
// uses and frees it; Interrupt is the one call for any other thread.
class ThreadHttp {
public:
    // A new component in place of the current one.
    void Renew();
    // Ends the running action and frees the component.
    void Free();
    // Ends the running action, if any, with 301; the owning thread closes its own connection.
    void Interrupt();

    inet::TtvxHTTP* get() const { return http_.get(); }
    inet::TtvxHTTP* operator->() const { return http_.get(); }
    inet::TtvxHTTP& operator*() const { return *http_; }
    explicit operator bool() const { return http_ != nullptr; }

private:
    std::unique_ptr<inet::TtvxHTTP> http_;
    std::mutex lock_;  // guards interrupt_, which other threads use
    std::shared_ptr<platform::LoopInterrupt> interrupt_;
};

// Sends the request through the proxy at host:port when host is not empty, with a
// "Proxy-Authorization" line for user and password when user is not empty; the component's own
// login stays empty, so the web server itself receives no credentials.
void SetRequestProxy(inet::TtvxHTTP& http, const std::string& host, std::uint16_t port, const std::string& user,
                     const std::string& password);

// Sets the request up on the thread's component: firstLines (the lines every request of the
// thread starts with, "Pragma: no-cache" first), the manager's proxy and its login, the
// Referer (the link URL when it is a web address), Accept, the User-Agent (userAgent, or the
// default one when empty), url, the webcam's login when it sends one, and the lines of
// addhead.txt in webcamFolder (ending in '/'; none when empty).
void SetUpPictureRequest(inet::TtvxHTTP& http, const twebcammanager& manager, const TWebcamDefRec& rec,
                         const std::string& webcamFolder, const std::string& userAgent,
                         std::initializer_list<const char*> firstLines, const std::string& url);

// What ends a request besides a halt: no data for quietLimit (the caller sets lastData whenever
// data arrives), or the deadline passing (overDeadline then tells so).
struct RequestWatch {
    std::chrono::milliseconds quietLimit{0};
    std::chrono::steady_clock::time_point deadline = std::chrono::steady_clock::time_point::max();
    std::chrono::steady_clock::time_point lastData{};
    bool overDeadline = false;
};

// Runs the action while a timer of this thread's loop ends it once halted() holds, no data came
// for the watch's quiet limit or its deadline passed. The action then fails with "301".
void RunWatchedAction(inet::TtvxHTTP& http, inet::TtvxhttpActions action, RequestWatch& watch,
                      const std::function<bool()>& halted);
// The same, with the action's failure handed back as its message (empty after a success)
// instead of raised.
std::string PerformWatchedAction(inet::TtvxHTTP& http, inet::TtvxhttpActions action, RequestWatch& watch,
                                 const std::function<bool()>& halted);

// Whether a request failed because its URL can never be requested: it names no server, or a
// scheme other than http (an address typed without "http://", say). Every turn fails alike.
bool UnusableAddress(const std::string& failure);

// Ends the component's running action, if one runs; errors are ignored.
void AbortAction(inet::TtvxHTTP* http);

// The lines of one error-log entry: "<local date and time> - <name> > <prefix><text>",
// "URL was <url>", the reply's header lines so far, and " ".
std::vector<std::string> RequestErrorEntry(const std::string& name, const std::string& prefix,
                                           const std::string& text, const std::string& url,
                                           const std::vector<std::string>& headerLines);

}  // namespace engine
