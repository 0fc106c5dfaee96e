#pragma once
// A lock file standing in for a named semaphore, which exists while any process holds it. Each
// holder keeps a shared flock() on <folder>/<name>.lock until Release() or the end of the
// process; whether another holder exists is asked with an exclusive non-blocking flock before
// the shared one is taken. The kernel drops a dead process's lock, so a crash never blocks the
// next start. The folder is $XDG_RUNTIME_DIR, or else a folder of the user's own under
// ${TMPDIR:-/tmp} (mode 0700), so that no other user can make or hold the locks. A lock file
// must be a regular file of the folder's owner, never followed through a symbolic link. A lock
// that cannot be taken fails: callers take that for another holder, the safe side.

#include <string>

namespace platform {

class LockFile {
public:
    enum class Result {
        Created,        // no other process held it; this one holds it now
        AlreadyExists,  // another process holds it; this one holds it too now
        Failed,         // the lock file could not be opened or locked: nothing is held (see failure())
    };

    explicit LockFile(std::string name) : name_(std::move(name)) {}
    ~LockFile() { Release(); }
    LockFile(const LockFile&) = delete;
    LockFile& operator=(const LockFile&) = delete;

    // Takes this process's hold, as creating a named semaphore opens it whether it existed or
    // not; held already, the answer of the first call.
    Result Acquire();
    // Asks whether another process holds it, without taking a hold: AlreadyExists when one
    // does, Created when none does, Failed when it cannot be told.
    Result Probe();
    void Release();
    bool held() const { return fd_ >= 0; }
    // Why the last Acquire or Probe failed.
    const std::string& failure() const { return failure_; }

    // The lock file's path for a name.
    static std::string PathFor(const std::string& name);

private:
    // The lock file opened and the gate taken (gate >= 0), or both closed and failure_ set.
    bool OpenGated(int& fd, int& gate);
    bool Fail(const std::string& what);

    std::string name_;
    int fd_ = -1;
    Result acquired_ = Result::Failed;
    std::string failure_;
};

}  // namespace platform
