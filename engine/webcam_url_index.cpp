#include "engine/webcam_url_index.h"

#include "engine/list_text.h"

#include <functional>

namespace engine {

std::string WebcamUrlKey(std::string_view url) {
    std::string key = AsciiUpper(url);
    if (const auto http = key.find("HTTP://"); http != std::string::npos) key.erase(0, http + 7);
    if (const auto www = key.find("WWW."); www != std::string::npos) key.erase(www, 4);
    return key;
}

std::size_t WebcamUrlIndex::KeyHash(std::string_view url) { return std::hash<std::string>{}(WebcamUrlKey(url)); }

void WebcamUrlIndex::Add(std::string_view url, int position) { FPositions.emplace(KeyHash(url), position); }

void WebcamUrlIndex::Remove(std::string_view url, int position) {
    const auto [begin, end] = FPositions.equal_range(KeyHash(url));
    for (auto it = begin; it != end; ++it)
        if (it->second == position) {
            FPositions.erase(it);
            return;
        }
}

}  // namespace engine
