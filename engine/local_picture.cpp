#include "engine/local_picture.h"

#include <cctype>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

bool ReadLocalPicture(const std::string& path, std::size_t maxBytes, std::string& bytes) {
    bytes.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && static_cast<std::size_t>(st.st_size) <= maxBytes;
    char chunk[65536];
    while (ok) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n == 0) break;
        if (n < 0 || bytes.size() + static_cast<std::size_t>(n) > maxBytes) ok = false;
        else bytes.append(chunk, static_cast<std::size_t>(n));
    }
    ::close(fd);
    if (!ok) bytes.clear();
    return ok;
}

}  // namespace engine
