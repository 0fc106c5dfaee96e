#pragma once
// A lock file standing in for a named semaphore, which exists while any process holds it. Each
// holder keeps a shared flock() on ${XDG_RUNTIME_DIR:-/tmp}/<name>.lock until Release() or the
// end of the process; whether another holder exists is asked with an exclusive non-blocking
// flock before the shared one is taken. The kernel drops a dead process's lock, so a crash
// never blocks the next start.

#include <string>

namespace platform {

class LockFile {
public:
    enum class Result {
        Created,        // no other process held it; this one holds it now
        AlreadyExists,  // another process holds it; this one holds it too now
        Failed,         // the lock file could not be opened or locked: nothing is held
    };

    explicit LockFile(std::string name) : name_(std::move(name)) {}
    ~LockFile() { Release(); }
    LockFile(const LockFile&) = delete;
    LockFile& operator=(const LockFile&) = delete;

    // Takes this process's hold, as creating a named semaphore opens it whether it existed or
    // not; held already, the answer of the first call.
    Result Acquire();
    void Release();
    bool held() const { return fd_ >= 0; }

    // The lock file's path for a name.
    static std::string PathFor(const std::string& name);

private:
    std::string name_;
    int fd_ = -1;
    Result acquired_ = Result::Failed;
};

}  // namespace platform
