#include "platform/record_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

bool RecordFile::Open(const std::string& path, Mode mode) {
    Close();
    int flags = O_CLOEXEC;
    switch (mode) {
        case Mode::ReadOnly: flags |= O_RDONLY; break;
        case Mode::ReadWrite: flags |= O_RDWR; break;
        case Mode::CreateEmpty: flags |= O_RDWR | O_CREAT | O_TRUNC; break;
    }
    do {
        fd_ = ::open(path.c_str(), flags, 0644);
    } while (fd_ < 0 && errno == EINTR);
    return fd_ >= 0;
}

bool RecordFile::Close() {
    if (fd_ < 0) return true;
    const bool ok = ::close(fd_) == 0;
    fd_ = -1;
    return ok;
}

long RecordFile::Count() const {
    struct stat st {};
    if (fd_ < 0 || ::fstat(fd_, &st) != 0) return 0;
    return static_cast<long>(static_cast<std::size_t>(st.st_size) / recordSize_);
}

bool RecordFile::Read(long n, void* buffer) const {
    if (fd_ < 0 || n < 0) return false;
    auto* out = static_cast<char*>(buffer);
    std::size_t done = 0;
    const off_t base = static_cast<off_t>(n) * static_cast<off_t>(recordSize_);
    while (done < recordSize_) {
        const ssize_t got = ::pread(fd_, out + done, recordSize_ - done, base + static_cast<off_t>(done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        done += static_cast<std::size_t>(got);
    }
    return true;
}

bool RecordFile::Write(long n, const void* buffer) {
    if (fd_ < 0 || n < 0) return false;
    const auto* in = static_cast<const char*>(buffer);
    std::size_t done = 0;
    const off_t base = static_cast<off_t>(n) * static_cast<off_t>(recordSize_);
    while (done < recordSize_) {
        const ssize_t put = ::pwrite(fd_, in + done, recordSize_ - done, base + static_cast<off_t>(done));
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        done += static_cast<std::size_t>(put);
    }
    return true;
}

bool RecordFile::Flush() { return fd_ >= 0 && ::fsync(fd_) == 0; }

}  // namespace platform
