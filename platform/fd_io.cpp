#include "platform/fd_io.h"

#include <fcntl.h>
#include <sys/stat.h>
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

bool ReadWholeFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    // Read to the end in any case: the size is only a first guess (a file may grow, and some
    // report none).
    std::size_t size = ::fstat(fd, &st) == 0 && st.st_size > 0 ? static_cast<std::size_t>(st.st_size) : 0;
    bool ok = true;
    std::size_t done = 0;
    for (;;) {
        if (done == size) size += 4096;
        bytes.resize(size);
        const ssize_t n = ::read(fd, bytes.data() + done, size - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n == 0 || errno != EINTR) {
            ok = n == 0;
            break;
        }
    }
    bytes.resize(done);
    ::close(fd);
    return ok;
}

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
