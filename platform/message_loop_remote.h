#pragma once
// The thread-safe side of a thread's message loop: any thread may post a task into it,
// wake it or ask it to quit. It outlives the loop; what is posted after the loop's thread
// ended is dropped.

#include <atomic>
#include <functional>
#include <mutex>
#include <vector>

namespace platform {

class MessageLoopRemote {
public:
    MessageLoopRemote();
    ~MessageLoopRemote();
    MessageLoopRemote(const MessageLoopRemote&) = delete;
    MessageLoopRemote& operator=(const MessageLoopRemote&) = delete;

    // Runs task on the loop's thread, in posting order.
    void PostTask(std::function<void()> task);
    // Ends the loop's current wait without giving it work.
    void Wake();
    // A sticky quit request: every wait on the loop ends until its outer Run() takes it.
    void Quit(int exitCode);
    bool QuitPending() const { return quit_.load(std::memory_order_acquire); }

private:
    friend class MessageLoop;
    int eventFd() const { return eventFd_; }
    std::vector<std::function<void()>> TakeTasks();
    int TakeQuit();
    void Close();

    std::mutex inboxLock_;  // guards inbox_ and closed_
    std::vector<std::function<void()>> inbox_;
    bool closed_ = false;
    std::atomic<bool> quit_{false};
    std::atomic<int> quitCode_{0};
    int eventFd_ = -1;
};

}  // namespace platform
