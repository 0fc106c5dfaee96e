#pragma once
// A thread object in the manner the engine's threads are written: created with its start
// gate closed, started by the first Resume (later calls do nothing: there is no suspending a
// running thread), stopped cooperatively through the Terminated flag, waited for with WaitFor.
// Work that must happen on the main thread goes through Synchronize. OnTerminate runs on the
// main thread after Execute has returned.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace platform {

class Thread {
public:
    // A scheduling hint. Priorities below normal raise the thread's nice value; the higher ones
    // need privileges a desktop program does not have and are kept at normal.
    enum class Priority { Idle, Lowest, Lower, Normal, Higher, Highest, TimeCritical };

    explicit Thread(Priority priority = Priority::Normal);
    // Owners call Terminate and WaitFor before a derived object goes away, because Execute may
    // use the derived part; this destructor does the same as a last resort.
    virtual ~Thread();
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    void Resume();
    void Terminate();
    bool Terminated() const { return FTerminated.load(); }
    bool Started() const { return FStarted.load(); }
    bool Finished() const { return FFinished.load(); }
    Priority GetPriority() const { return FPriority; }
    // The system thread's id once it runs.
    std::thread::id ThreadId() const { return FThreadId.load(); }

    // Waits until Execute has returned and gives ReturnValue. On the main thread the wait keeps
    // draining the calls of other threads, and the pending OnTerminate has run when it returns.
    // A thread that was never resumed is not waited for.
    int WaitFor();

    // Ends a Doze of the thread early.
    void WakeUp();

    // Runs on the main thread once Execute has returned. Set it before Resume.
    std::function<void()> OnTerminate;

protected:
    virtual void Execute() = 0;

    // Runs fn on the main thread while this thread waits.
    void Synchronize(std::function<void()> fn);

    // Sleeps until the time is up, WakeUp is called or the thread is asked to terminate.
    // Returns false when it was asked to terminate.
    bool Doze(std::chrono::milliseconds duration);
    // The same without a time limit.
    bool Doze();

    std::atomic<int> ReturnValue{0};

private:
    void Run();
    void Join();

    const Priority FPriority;
    std::atomic<bool> FStarted{false};
    std::atomic<bool> FTerminated{false};
    std::atomic<bool> FFinished{false};
    std::atomic<std::thread::id> FThreadId{};

    std::mutex FStateLock;               // guards FWoken and the waits on the flags above
    std::condition_variable FStateSignal;
    bool FWoken = false;

    std::mutex FJoinLock;                // guards FThread
    std::thread FThread;

    // Shared with the posted OnTerminate call, which must not run once the object is gone.
    std::shared_ptr<std::atomic<bool>> FAlive = std::make_shared<std::atomic<bool>>(true);
};

}  // namespace platform
