#include "platform/lock_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace platform {

std::string LockFile::PathFor(const std::string& name) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime) return std::string(runtime) + "/" + name + ".lock";
    // /tmp is shared by every user: keep each user's locks apart.
    return "/tmp/" + name + "-" + std::to_string(::getuid()) + ".lock";
}

LockFile::Result LockFile::Acquire() {
    if (held()) return Result::Created;
    const int fd = ::open(PathFor(name_).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return Result::Failed;
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        const bool busy = errno == EWOULDBLOCK;
        ::close(fd);
        return busy ? Result::AlreadyExists : Result::Failed;
    }
    fd_ = fd;
    return Result::Created;
}

void LockFile::Release() {
    if (fd_ < 0) return;
    ::close(fd_);  // closing the only descriptor drops the flock
    fd_ = -1;
}

}  // namespace platform
