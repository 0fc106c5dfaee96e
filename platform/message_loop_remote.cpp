#include "platform/message_loop_remote.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <stdexcept>

namespace platform {

MessageLoopRemote::MessageLoopRemote() {
    eventFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (eventFd_ < 0) throw std::runtime_error("eventfd failed");
}

MessageLoopRemote::~MessageLoopRemote() { close(eventFd_); }

void MessageLoopRemote::PostTask(std::function<void()> task) {
    {
        std::lock_guard<std::mutex> hold(inboxLock_);
        if (closed_) return;  // task is destroyed outside the lock, on return
        inbox_.push_back(std::move(task));
    }
    Wake();
}

void MessageLoopRemote::Wake() {
    std::uint64_t one = 1;
    // A full counter (EAGAIN) is still readable, which is all a wake needs.
    while (write(eventFd_, &one, sizeof one) < 0 && errno == EINTR) {
    }
}

void MessageLoopRemote::Quit(int exitCode) {
    quitCode_.store(exitCode, std::memory_order_relaxed);
    quit_.store(true, std::memory_order_release);
    Wake();
}

std::vector<std::function<void()>> MessageLoopRemote::TakeTasks() {
    std::lock_guard<std::mutex> hold(inboxLock_);
    std::vector<std::function<void()>> tasks;
    tasks.swap(inbox_);
    return tasks;
}

int MessageLoopRemote::TakeQuit() {
    quit_.store(false, std::memory_order_release);
    return quitCode_.load(std::memory_order_relaxed);
}

void MessageLoopRemote::Close() {
    std::vector<std::function<void()>> dropped;
    {
        std::lock_guard<std::mutex> hold(inboxLock_);
        closed_ = true;
        dropped.swap(inbox_);
    }
}

}  // namespace platform
