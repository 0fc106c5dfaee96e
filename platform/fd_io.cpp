#include "platform/fd_io.h"

#include <unistd.h>

#include <cerrno>

namespace platform {
namespace {

// Calls step(done) until size bytes moved; a step returns what one system call moved.
template <typename Step>
bool Transfer(std::size_t size, Step step) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = step(done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

bool WriteAll(int fd, const void* data, std::size_t size) {
    const auto* bytes = static_cast<const char*>(data);
    return Transfer(size, [&](std::size_t done) { return ::write(fd, bytes + done, size - done); });
}

bool PreadAll(int fd, void* data, std::size_t size, off_t offset) {
    auto* bytes = static_cast<char*>(data);
    return Transfer(size, [&](std::size_t done) {
        return ::pread(fd, bytes + done, size - done, offset + static_cast<off_t>(done));
    });
}

bool PwriteAll(int fd, const void* data, std::size_t size, off_t offset) {
    const auto* bytes = static_cast<const char*>(data);
    return Transfer(size, [&](std::size_t done) {
        return ::pwrite(fd, bytes + done, size - done, offset + static_cast<off_t>(done));
    });
}

}  // namespace platform
