#pragma once
// The main thread's queue of calls from other threads. A thread that must act on the main
// thread hands it a call and, with Synchronize, blocks until the call has run there. The main
// thread drains the queue from its event loop (the Qt adapter watches EventFd()), from
// ProcessMessages, and from every wait of its own (WaitUntil), so a thread blocked in
// Synchronize can never deadlock a main thread that waits for it.

#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace platform {

class Dispatcher {
public:
    // The one dispatcher of the process; its main thread is the thread that ran static
    // initialisation (the thread of main()).
    static Dispatcher& Main();

    Dispatcher();
    ~Dispatcher();
    Dispatcher(const Dispatcher&) = delete;
    Dispatcher& operator=(const Dispatcher&) = delete;

    bool IsMainThread() const;

    // Runs fn on the main thread and returns when it has run; an exception it throws is
    // rethrown here. On the main thread fn runs at once.
    void Synchronize(std::function<void()> fn);

    // Queues fn for the main thread and returns at once.
    void Post(std::function<void()> fn);

    // Main thread: runs the calls pending now and those queued while they run, in order, for
    // at most a few milliseconds after the first of them ran (then the foreign pump, when one
    // is set); returns how many calls ran.
    int ProcessMessages();

    // Main thread: drains calls until done() is true; checks done() at least every `poll`
    // and whenever Wake() is called. Returns false when the deadline passed first.
    bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds poll,
                   std::chrono::steady_clock::time_point deadline = std::chrono::steady_clock::time_point::max());

    // Main thread: whether a call of that thread is running now (perhaps deeper in the stack,
    // below a nested wait). Such a thread is blocked until the call returns, so waiting for it
    // from inside the call would never end.
    bool IsServing(std::thread::id caller) const;

    // Makes a running WaitUntil look at its condition now.
    void Wake();

    // Readable while calls are pending; for an event loop to watch.
    int EventFd() const { return FEventFd; }

    // Extra work every drain does on the main thread, such as processing the GUI toolkit's
    // own events during a wait. Set once at start-up on the main thread.
    void SetForeignPump(std::function<void()> pump);

private:
    struct Call {
        std::function<void()> fn;
        std::thread::id caller;
        bool done = false;
        std::exception_ptr error;
        // Its caller waits here alone, so a drain wakes only the threads whose calls it ran.
        std::condition_variable ran;
    };

    void Enqueue(std::shared_ptr<Call> call);
    // The pending calls, taken in one locked step with the descriptor's count.
    std::deque<std::shared_ptr<Call>> TakePending();
    void RunCalls(std::deque<std::shared_ptr<Call>>& batch);

    mutable std::mutex FQueueLock;            // guards FPending, FWoken, Call::done and Call::error
    std::condition_variable FWakeMain;        // a call arrived or Wake() was called
    std::deque<std::shared_ptr<Call>> FPending;
    bool FWoken = false;
    std::function<void()> FForeignPump;       // main thread only
    std::vector<std::thread::id> FServing;    // main thread only: callers of the running calls
    int FEventFd = -1;
};

// Shorthands for the main dispatcher.
inline void Synchronize(std::function<void()> fn) { Dispatcher::Main().Synchronize(std::move(fn)); }
inline int ProcessMessages() { return Dispatcher::Main().ProcessMessages(); }
inline bool IsMainThread() { return Dispatcher::Main().IsMainThread(); }

// Main thread: a pause that keeps draining the calls of other threads, and runs the foreign
// pump at least every 10 ms.
void SleepPumping(std::chrono::milliseconds duration);

}  // namespace platform
