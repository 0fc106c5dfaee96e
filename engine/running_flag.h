#pragma once
// A webcam's run flag that keeps its manager's count of running webcams in the same step, so
// that the count is read without a look at every webcam (the window asks for it on every status
// change). It reads and assigns like the atomic flag it holds; only the main thread assigns it,
// any thread may read it.

#include <atomic>

namespace engine {

class RunningFlag {
public:
    explicit RunningFlag(std::atomic<int>& runningCount) : count_(runningCount) {}
    ~RunningFlag() { *this = false; }
    RunningFlag(const RunningFlag&) = delete;
    RunningFlag& operator=(const RunningFlag&) = delete;

    RunningFlag& operator=(bool running) {
        if (flag_.exchange(running) != running) count_.fetch_add(running ? 1 : -1);
        return *this;
    }
    operator bool() const { return flag_.load(); }

private:
    std::atomic<bool> flag_{false};
    std::atomic<int>& count_;
};

}  // namespace engine
