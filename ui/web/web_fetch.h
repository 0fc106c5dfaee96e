#pragma once
// The requests of the web features (version file, list index, lists): one GET on the GUI
// thread through a component of its own, so each request sets its proxy and proxy login
// afresh. The component waits on the GUI thread's loop, which keeps processing Qt's events, so
// the windows keep painting and answering while the request runs. A request that goes quiet for
// the inactivity limit, grows past its size cap or is cancelled fails, and its text is dropped.

#include "engine/settings_records.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>

namespace ui {

// The proxy of CONFIG and its login of EXTRA1; an empty host means no proxy.
struct WebProxy {
    std::string host;
    std::uint16_t port = 0;
    std::string user;
    std::string password;
};

// The proxy when UseProxy is set and ProxyHost is not empty (the port's low 16 bits).
WebProxy ProxyOf(const engine::TConfigRec& config, const engine::TExtra1Rec& extra1);

struct FetchLimits {
    std::size_t maxBytes;
    std::chrono::milliseconds inactivity = std::chrono::seconds(30);  // as the fetch threads'
};

inline constexpr std::size_t kVersionFileCap = 16 * 1024;
inline constexpr std::size_t kListCap = 8 * 1024 * 1024;  // an index or a list

class WebFetchError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// GETs url and returns the reply's body. Throws WebFetchError, whose message says why in French
// (fetch_failure.h), on a failed request, a status other than 2xx, a quiet spell as long as the
// inactivity limit, a body larger than maxBytes, or once cancelled() holds (it is asked several
// times a second).
std::string FetchText(const std::string& url, const WebProxy& proxy, const FetchLimits& limits,
                      const std::function<bool()>& cancelled = {});

}  // namespace ui
