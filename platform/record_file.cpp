#include "platform/record_file.h"

#include "platform/fd_io.h"

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
    return fd_ >= 0 && n >= 0 && PreadAll(fd_, buffer, recordSize_, static_cast<off_t>(n) * static_cast<off_t>(recordSize_));
}

bool RecordFile::Write(long n, const void* buffer) {
    return fd_ >= 0 && n >= 0 && PwriteAll(fd_, buffer, recordSize_, static_cast<off_t>(n) * static_cast<off_t>(recordSize_));
}

bool RecordFile::Flush() { return fd_ >= 0 && ::fsync(fd_) == 0; }

}  // namespace platform
