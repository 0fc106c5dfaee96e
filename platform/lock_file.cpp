#include "platform/lock_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <thread>

namespace platform {
namespace {

int OpenLockFile(const std::string& path) { return ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600); }

int Flock(int fd, int operation) {
    int rc;
    do {
        rc = ::flock(fd, operation);
    } while (rc != 0 && errno == EINTR);
    return rc;
}

// The gate makes asking and taking one step for every holder: without it two programs could
// both find the lock free before either holds it (and flock's change from exclusive to shared
// is not atomic either). Each holder has it for two system calls; one stopped inside them
// makes the others give up after a second rather than hang.
bool TakeGate(int gate) {
    for (int attempt = 0; attempt < 1000; ++attempt) {
        if (Flock(gate, LOCK_EX | LOCK_NB) == 0) return true;
        if (errno != EWOULDBLOCK) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

}  // namespace

std::string LockFile::PathFor(const std::string& name) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime) return std::string(runtime) + "/" + name + ".lock";
    // /tmp is shared by every user: keep each user's locks apart.
    return "/tmp/" + name + "-" + std::to_string(::getuid()) + ".lock";
}

LockFile::Result LockFile::Acquire() {
    if (held()) return acquired_;
    const int fd = OpenLockFile(PathFor(name_));
    if (fd < 0) return Result::Failed;
    const int gate = OpenLockFile(PathFor(name_ + ".gate"));
    if (gate < 0 || !TakeGate(gate)) {
        if (gate >= 0) ::close(gate);
        ::close(fd);
        return Result::Failed;
    }
    // Every other holder keeps a shared lock: an exclusive one can be had only when there is none.
    const bool alone = Flock(fd, LOCK_EX | LOCK_NB) == 0;
    const bool askable = alone || errno == EWOULDBLOCK;
    const bool holds = askable && Flock(fd, LOCK_SH | LOCK_NB) == 0;
    ::close(gate);  // drops the gate
    if (!holds) {
        ::close(fd);
        return Result::Failed;
    }
    fd_ = fd;
    acquired_ = alone ? Result::Created : Result::AlreadyExists;
    return acquired_;
}

void LockFile::Release() {
    if (fd_ < 0) return;
    ::close(fd_);  // closing the only descriptor drops the flock
    fd_ = -1;
    acquired_ = Result::Failed;
}

}  // namespace platform
