#pragma once
// A lock file standing in for a named semaphore that tells whether another instance runs.
// The lock is an flock() on ${XDG_RUNTIME_DIR:-/tmp}/<name>.lock, held until Release() or the
// end of the process: the kernel drops it when the process dies, so a crash never blocks the
// next start.

#include <string>

namespace platform {

class LockFile {
public:
    enum class Result {
        Created,        // this process now holds the lock
        AlreadyExists,  // another holder has it
        Failed,         // the lock file could not be opened
    };

    explicit LockFile(std::string name) : name_(std::move(name)) {}
    ~LockFile() { Release(); }
    LockFile(const LockFile&) = delete;
    LockFile& operator=(const LockFile&) = delete;

    Result Acquire();
    void Release();
    bool held() const { return fd_ >= 0; }

    // The lock file's path for a name.
    static std::string PathFor(const std::string& name);

private:
    std::string name_;
    int fd_ = -1;
};

}  // namespace platform
