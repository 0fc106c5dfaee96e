#include "platform/thread.h"

#include "platform/dispatch.h"

#include <sys/resource.h>
#include <unistd.h>

namespace platform {
namespace {

// The nice value that stands for a priority below normal; 0 leaves the thread as it is.
int NiceValue(Thread::Priority priority) {
    switch (priority) {
        case Thread::Priority::Idle: return 19;
        case Thread::Priority::Lowest: return 15;
        case Thread::Priority::Lower: return 5;
        default: return 0;
    }
}

}  // namespace

Thread::Thread(Priority priority) : FPriority(priority) {}

Thread::~Thread() {
    *FAlive = false;
    Terminate();
    WaitFor();
}

void Thread::Resume() {
    std::lock_guard lock(FJoinLock);
    if (FStarted.exchange(true)) return;
    FThread = std::thread([this] { Run(); });
}

void Thread::Run() {
    FThreadId = std::this_thread::get_id();
    if (const int nice = NiceValue(FPriority))
        setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), nice);  // a hint: failure is harmless
    try {
        Execute();
    } catch (...) {
        // A thread that fails ends like one that returned; its owner sees it finished.
    }
    if (OnTerminate) {
        // Runs once this thread is joined, so the handler may even free the object.
        std::weak_ptr<std::atomic<bool>> alive = FAlive;
        Dispatcher::Main().Post([this, alive] {
            const auto flag = alive.lock();
            if (!flag || !*flag) return;
            Join();
            const auto handler = OnTerminate;  // a copy: the handler may free this object
            handler();
        });
    }
    {
        std::lock_guard lock(FStateLock);
        FFinished = true;
    }
    FStateSignal.notify_all();
    Dispatcher::Main().Wake();
}

void Thread::Join() {
    std::lock_guard lock(FJoinLock);
    if (FThread.joinable()) FThread.join();
}

void Thread::Terminate() {
    {
        std::lock_guard lock(FStateLock);
        FTerminated = true;
    }
    FStateSignal.notify_all();
}

void Thread::WakeUp() {
    {
        std::lock_guard lock(FStateLock);
        FWoken = true;
    }
    FStateSignal.notify_all();
}

int Thread::WaitFor() {
    if (!FStarted) return ReturnValue;
    if (Dispatcher::Main().IsMainThread()) {
        Dispatcher::Main().WaitUntil([this] { return FFinished.load(); }, std::chrono::milliseconds(10));
    } else {
        std::unique_lock lock(FStateLock);
        FStateSignal.wait(lock, [this] { return FFinished.load(); });
    }
    Join();
    return ReturnValue;
}

void Thread::Synchronize(std::function<void()> fn) { Dispatcher::Main().Synchronize(std::move(fn)); }

bool Thread::Doze(std::chrono::milliseconds duration) {
    std::unique_lock lock(FStateLock);
    FStateSignal.wait_for(lock, duration, [this] { return FTerminated.load() || FWoken; });
    FWoken = false;
    return !FTerminated;
}

bool Thread::Doze() {
    std::unique_lock lock(FStateLock);
    FStateSignal.wait(lock, [this] { return FTerminated.load() || FWoken; });
    FWoken = false;
    return !FTerminated;
}

}  // namespace platform
