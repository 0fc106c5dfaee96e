#include "platform/lock_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace platform {
namespace {

// $XDG_RUNTIME_DIR, or else (fallback) a folder of the user's own under ${TMPDIR:-/tmp}.
struct LockFolder {
    std::string path;
    bool fallback;
};

LockFolder LockFolderOfUser() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime) return {runtime, false};
    const char* tmp = std::getenv("TMPDIR");
    return {std::string(tmp && *tmp ? tmp : "/tmp") + "/orvello-" + std::to_string(::geteuid()), true};
}

// The folder of the locks, made when it is the fallback and missing; owner := its owner, the
// one user a lock file in it may belong to (whoever owns the folder could replace its files
// anyway). A fallback that is not a folder of this user's, closed to everybody else, is
// refused: another user may have made it first.
bool LockFolderReady(uid_t& owner, std::string& why) {
    const auto [folder, fallback] = LockFolderOfUser();
    if (fallback && ::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        why = folder + ": " + std::strerror(errno);
        return false;
    }
    struct stat st {};
    if (::lstat(folder.c_str(), &st) != 0) {
        why = folder + ": " + std::strerror(errno);
        return false;
    }
    if (fallback && (!S_ISDIR(st.st_mode) || st.st_uid != ::geteuid() || (st.st_mode & 077) != 0)) {
        why = folder + ": not a private folder of this user";
        return false;
    }
    owner = st.st_uid;
    return true;
}

// Never through a link, never blocking on a FIFO; what is found must be a regular file of the
// folder's owner.
int OpenLockFile(const std::string& path, uid_t owner, std::string& why) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
    if (fd < 0) {
        why = path + ": " + std::strerror(errno);
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != owner) {
        why = path + ": not a regular file of the folder's owner";
        ::close(fd);
        return -1;
    }
    return fd;
}

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
    return LockFolderOfUser().path + "/" + name + ".lock";
}

bool LockFile::Fail(const std::string& what) {
    failure_ = what;
    return false;
}

bool LockFile::OpenGated(int& fd, int& gate) {
    fd = gate = -1;
    std::string why;
    uid_t owner = 0;
    if (!LockFolderReady(owner, why)) return Fail(why);
    fd = OpenLockFile(PathFor(name_), owner, why);
    if (fd < 0) return Fail(why);
    const std::string gatePath = PathFor(name_ + ".gate");
    gate = OpenLockFile(gatePath, owner, why);
    if (gate >= 0 && TakeGate(gate)) return true;
    if (gate >= 0) {
        why = gatePath + ": held for more than a second";
        ::close(gate);
        gate = -1;
    }
    ::close(fd);
    fd = -1;
    return Fail(why);
}

LockFile::Result LockFile::Acquire() {
    if (held()) return acquired_;
    int fd, gate;
    if (!OpenGated(fd, gate)) return Result::Failed;
    // Every other holder keeps a shared lock: an exclusive one can be had only when there is none.
    const bool alone = Flock(fd, LOCK_EX | LOCK_NB) == 0;
    const bool askable = alone || errno == EWOULDBLOCK;
    const bool holds = askable && Flock(fd, LOCK_SH | LOCK_NB) == 0;
    if (!holds) failure_ = PathFor(name_) + ": " + std::strerror(errno);
    ::close(gate);  // drops the gate
    if (!holds) {
        ::close(fd);
        return Result::Failed;
    }
    fd_ = fd;
    acquired_ = alone ? Result::Created : Result::AlreadyExists;
    return acquired_;
}

LockFile::Result LockFile::Probe() {
    if (held()) return acquired_;
    int fd, gate;
    if (!OpenGated(fd, gate)) return Result::Failed;
    Result answer = Result::AlreadyExists;
    if (Flock(fd, LOCK_EX | LOCK_NB) == 0) {
        answer = Result::Created;
    } else if (errno != EWOULDBLOCK) {
        failure_ = PathFor(name_) + ": " + std::strerror(errno);
        answer = Result::Failed;
    }
    ::close(fd);  // drops the exclusive lock before the gate lets anybody else ask
    ::close(gate);
    return answer;
}

void LockFile::Release() {
    if (fd_ < 0) return;
    ::close(fd_);  // closing the only descriptor drops the flock
    fd_ = -1;
    acquired_ = Result::Failed;
}

}  // namespace platform
