#include "ui/web/web_fetch.h"

#include "engine/picture_request.h"
#include "inet/tvx_http.h"

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
    const auto halted = [&] { return tooLarge || (cancelled && cancelled()); };
    const WebFetchError overflow("The reply is larger than " + std::to_string(limits.maxBytes) + " bytes");
    try {
        engine::RunWatchedAction(http, inet::httpGet, watch, halted);
    } catch (const std::exception& e) {
        if (tooLarge) throw overflow;
        throw WebFetchError(e.what());
    }
    // The reply may have ended in the same turn as it outgrew the cap.
    if (tooLarge) throw overflow;
    if (cancelled && cancelled()) throw WebFetchError("301: Interrupted.");
    return body;
}

}  // namespace ui
