#include "ui/web/version_check.h"

#include <charconv>

namespace ui {

bool NewerVersionIn(const std::string& reply, std::string& text) {
    constexpr std::size_t kDateSize = 8;
    if (reply.size() < kDateSize) return false;
    text = reply;
    long date = 0;
    const char* end = reply.data() + kDateSize;
    const auto [stop, error] = std::from_chars(reply.data(), end, date);
    return error == std::errc() && stop == end && date > kThisVersionDate;
}

bool CheckNewVersion(const std::string& url, const WebProxy& proxy, std::string& text, const FetchLimits& limits) {
    try {
        return NewerVersionIn(FetchText(url, proxy, limits), text);
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace ui
