#include "ui/web/web_fetch.h"

#include "engine/picture_request.h"
#include "inet/engine_errors.h"
#include "inet/tvx_http.h"
#include "ui/web/fetch_failure.h"

namespace ui {

WebProxy ProxyOf(const engine::TConfigRec& config, const engine::TExtra1Rec& extra1) {
    WebProxy proxy;
    if (config.UseProxy == 0 || config.ProxyHost.empty()) return proxy;
    proxy.host = config.ProxyHost.str();
    proxy.port = static_cast<std::uint16_t>(config.ProxyPort);
    proxy.user = extra1.ProxyUser.str();
    proxy.password = extra1.ProxyPassword.str();
    return proxy;
}

std::string FetchText(const std::string& url, const WebProxy& proxy, const FetchLimits& limits,
                      const std::function<bool()>& cancelled) {
    inet::TtvxHTTP http;
    engine::SetRequestProxy(http, proxy.host, proxy.port, proxy.user, proxy.password);
    http.SetURL(url);
    std::string body;
    bool tooLarge = false;
    engine::RequestWatch watch;
    watch.quietLimit = limits.inactivity;
    watch.lastData = std::chrono::steady_clock::now();
    http.OnTransfer = [&](inet::TtvxHTTP&, int direction, std::int64_t, const std::string& text) {
        if (direction != 1) return;
        watch.lastData = std::chrono::steady_clock::now();
        if (body.size() + text.size() > limits.maxBytes) tooLarge = true;
        if (!tooLarge) body += text;
    };
    const auto isCancelled = [&] { return cancelled && cancelled(); };
    const auto halted = [&] { return tooLarge || isCancelled(); };
    const WebFetchError overflow(ReplyTooLargeText(limits.maxBytes));
    try {
        engine::RunWatchedAction(http, inet::httpGet, watch, halted);
    } catch (const inet::ETarvixBase& e) {
        if (tooLarge) throw overflow;
        if (isCancelled()) throw WebFetchError(CancelledFetchText());
        // Nothing else interrupts the request but the watch's quiet limit.
        if (e.Code == inet::kErrInterrupted) throw WebFetchError(QuietServerText(limits.inactivity));
        throw WebFetchError(FetchFailureText(e.Code, e.what()));
    } catch (const std::exception&) {
        throw WebFetchError(FetchFailureText(0, {}));
    }
    // The reply may have ended in the same turn as it outgrew the cap.
    if (tooLarge) throw overflow;
    if (isCancelled()) throw WebFetchError(CancelledFetchText());
    return body;
}

}  // namespace ui
