#include "engine/local_picture.h"

#include <cctype>

namespace engine {

std::optional<std::string> LocalPicturePath(std::string_view url) {
    constexpr std::string_view kScheme = "file:";
    bool scheme = url.size() >= kScheme.size();
    for (std::size_t i = 0; scheme && i < kScheme.size(); ++i)
        scheme = std::tolower(static_cast<unsigned char>(url[i])) == kScheme[i];
    if (!scheme) {
        if (!url.empty() && url.front() == '/') return std::string(url);
        return std::nullopt;
    }
    std::string path(url.substr(kScheme.size()));
    for (char& c : path)
        if (c == '\\') c = '/';
    // "file:///x" and "file:\\x" carry more than one leading slash: the path is "/x".
    const std::size_t first = path.find_first_not_of('/');
    if (first == 0 || first == std::string::npos) return std::nullopt;
    return "/" + path.substr(first);
}

}  // namespace engine
