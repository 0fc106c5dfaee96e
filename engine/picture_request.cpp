#include "engine/picture_request.h"

#include "engine/list_text.h"
#include "engine/webcam_folder.h"
#include "engine/webcam_manager.h"
#include "inet/http_errors.h"
#include "platform/clock.h"
#include "platform/message_loop.h"

#include <algorithm>
#include <cstdio>

namespace engine {
namespace {

constexpr const char* kDefaultUserAgent = "Mozilla/4.0 (compatible; MSIE 6.0; Win32)";

std::string LocalDateTimeText() {
    const platform::DateTimeParts p = platform::DecodeDateTime(platform::Now());
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", p.year, p.month, p.day, p.hour, p.minute,
                  p.second);
    return text;
}

}  // namespace

void ThreadHttp::Renew() {
    auto http = std::make_unique<inet::TtvxHTTP>();
    std::lock_guard lock(lock_);
    interrupt_ = http->InterruptHandle();
    http_ = std::move(http);
}

void ThreadHttp::Free() {
    AbortAction(http_.get());
    std::lock_guard lock(lock_);
    interrupt_.reset();
    http_.reset();
}

void ThreadHttp::Interrupt() {
    std::lock_guard lock(lock_);
    if (interrupt_) interrupt_->Request();
}

void SetRequestProxy(inet::TtvxHTTP& http, const std::string& host, std::uint16_t port, const std::string& user,
                     const std::string& password) {
    if (host.empty()) return;
    http.SetProxyServer(host);
    http.SetProxyPort(port);
    if (user.empty()) return;
    http.SetUser(user);
    http.SetPassword(password);
    http.ExtraHeaders().push_back("Proxy-Authorization: " + http.Authorization());
    http.SetUser("");
    http.SetPassword("");
}

void SetUpPictureRequest(inet::TtvxHTTP& http, const twebcammanager& manager, const TWebcamDefRec& rec,
                         const std::string& webcamFolder, const std::string& userAgent,
                         std::initializer_list<const char*> firstLines, const std::string& url) {
    for (const char* line : firstLines) http.ExtraHeaders().push_back(line);
    if (manager.FProxyEnabled)
        SetRequestProxy(http, manager.FProxyHost, static_cast<std::uint16_t>(manager.FProxyPort), manager.FProxyUser,
                        manager.FProxyPassword);
    const std::string link = rec.LinkURL.str();
    http.SetReferer(AsciiUpper(std::string_view(link).substr(0, 4)) == "HTTP" ? link : std::string());
    http.SetAccept("*/*");
    http.SetUserAgent(userAgent.empty() ? kDefaultUserAgent : userAgent);
    http.SetURL(url);
    http.SetUser(rec.SendLogin ? rec.UserName.str() : std::string());
    http.SetPassword(rec.SendLogin ? rec.Password.str() : std::string());
    if (!webcamFolder.empty())
        for (const std::string& line : ReadTextLines(webcamFolder + "addhead.txt")) http.ExtraHeaders().push_back(line);
}

namespace {

// Runs perform while the watch's timer ticks inside the request's wait, on this thread.
template <typename Perform>
void Watched(inet::TtvxHTTP& http, RequestWatch& watch, const std::function<bool()>& halted, Perform perform) {
    platform::MessageLoop& loop = platform::MessageLoop::Current();
    const auto tick = std::clamp(watch.quietLimit / 10, std::chrono::milliseconds(1), std::chrono::milliseconds(25));
    watch.lastData = std::chrono::steady_clock::now();
    const platform::TimerId timer = loop.SetTimer(tick, [&http, &watch, &halted] {
        const auto now = std::chrono::steady_clock::now();
        if (now >= watch.deadline) watch.overDeadline = true;
        if (watch.overDeadline || now - watch.lastData >= watch.quietLimit || halted()) AbortAction(&http);
    });
    try {
        perform();
    } catch (...) {
        loop.KillTimer(timer);
        throw;
    }
    loop.KillTimer(timer);
}

}  // namespace

void RunWatchedAction(inet::TtvxHTTP& http, inet::TtvxhttpActions action, RequestWatch& watch,
                      const std::function<bool()>& halted) {
    Watched(http, watch, halted, [&] { http.SetAction(action); });
}

std::string PerformWatchedAction(inet::TtvxHTTP& http, inet::TtvxhttpActions action, RequestWatch& watch,
                                 const std::function<bool()>& halted) {
    std::string failure;
    Watched(http, watch, halted, [&] { failure = http.PerformAction(action); });
    return failure;
}

bool UnusableAddress(const std::string& failure) {
    for (int code : {inet::kErrNoServer, inet::kErrBadScheme})
        if (failure.rfind(std::to_string(code) + ": ", 0) == 0) return true;
    return false;
}

void AbortAction(inet::TtvxHTTP* http) {
    if (!http) return;
    try {
        if (http->Action() != inet::httpIdle) http->SetAction(inet::httpIdle);
    } catch (...) {
    }
}

std::vector<std::string> RequestErrorEntry(const std::string& name, const std::string& prefix,
                                           const std::string& text, const std::string& url,
                                           const std::vector<std::string>& headerLines) {
    std::vector<std::string> entry;
    entry.push_back(LocalDateTimeText() + " - " + name + " > " + prefix + text);
    entry.push_back("URL was " + url);
    entry.insert(entry.end(), headerLines.begin(), headerLines.end());
    entry.push_back(" ");
    return entry;
}

}  // namespace engine
