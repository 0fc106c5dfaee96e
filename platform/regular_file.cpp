#include "platform/regular_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace platform {

int OpenRegularFile(const std::string& path, std::size_t maxBytes, struct stat& st) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return -1;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0 ||
        static_cast<unsigned long long>(st.st_size) > maxBytes) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool ReadRegularFile(const std::string& path, std::size_t maxBytes, std::string& bytes) {
    bytes.clear();
    struct stat st {};
    const int fd = OpenRegularFile(path, maxBytes, st);
    if (fd < 0) return false;
    // The size is the first guess; one byte more than the cap tells a file that grew past it.
    bytes.resize(static_cast<std::size_t>(st.st_size) + 1);
    std::size_t done = 0;
    bool ok = true;
    for (;;) {
        if (done == bytes.size()) {
            if (done > maxBytes) {
                ok = false;
                break;
            }
            bytes.resize(std::min(maxBytes + 1, done + done / 2 + 4096));
        }
        const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n == 0 || errno != EINTR) {
            ok = n == 0;
            break;
        }
    }
    ::close(fd);
    ok = ok && done <= maxBytes;
    bytes.resize(ok ? done : 0);
    return ok;
}

}  // namespace platform
