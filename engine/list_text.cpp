#include "engine/list_text.h"

#include <cerrno>
#include <fcntl.h>
#include <system_error>
#include <unistd.h>

namespace engine {

std::string ReadListFile(const std::string& fileName) {
    const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw std::system_error(errno, std::generic_category(), "Cannot open file \"" + fileName + "\"");
    std::string bytes;
    char block[65536];
    for (;;) {
        const ssize_t n = ::read(fd, block, sizeof block);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            const int error = errno;
            ::close(fd);
            throw std::system_error(error, std::generic_category(), "Cannot read file \"" + fileName + "\"");
        }
        bytes.append(block, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return bytes;
}

std::vector<std::string_view> SplitListLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

namespace {

template <char From, char To>
std::string ShiftCase(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= From && c <= From + ('z' - 'a')) c = static_cast<char>(c - From + To);
    return out;
}

}  // namespace

std::string AsciiUpper(std::string_view text) { return ShiftCase<'a', 'A'>(text); }
std::string AsciiLower(std::string_view text) { return ShiftCase<'A', 'a'>(text); }

}  // namespace engine
