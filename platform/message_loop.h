#pragma once
// One message loop per thread: posted messages and tasks, timers and file-descriptor
// watches, all waited for in one epoll_wait with an eventfd wake-up.
//
// A "target" stands in for a hidden notification window: messages posted to it are
// handed to its handler on the loop's thread. Timers are generated only when nothing else
// is pending. A quit request is sticky: it ends every wait and stays pending until the
// outermost Run() takes it.
//
// Every member function except remote() belongs to the loop's own thread; the Remote
// handle is the only way in from another thread.

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <thread>
#include <unordered_map>
#include <vector>

#include "platform/message_loop_remote.h"

namespace platform {

using TargetId = std::uint64_t;  // 0 = none; never reused within a process
using TimerId = std::uint64_t;
using WatchId = std::uint64_t;

struct Message {
    TargetId target = 0;
    std::uint32_t id = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
};

class MessageLoop {
public:
    using Handler = std::function<void(const Message&)>;
    using Task = std::function<void()>;
    using FdHandler = std::function<void(std::uint32_t epollEvents)>;

    enum class Step {
        Idle,        // nothing was pending
        Dispatched,  // one message, task, watch or timer was handled
        Quit,        // a quit request is pending (it stays pending)
    };

    // The calling thread's loop, created on first use and destroyed when the thread ends.
    static MessageLoop& Current();

    ~MessageLoop();
    MessageLoop(const MessageLoop&) = delete;
    MessageLoop& operator=(const MessageLoop&) = delete;

    // The thread-safe way in: posts, wake-ups and quit from any thread.
    const std::shared_ptr<MessageLoopRemote>& remote() const { return remote_; }
    bool OnOwnerThread() const { return std::this_thread::get_id() == owner_; }

    TargetId CreateTarget(Handler handler);
    // Queued messages for a destroyed target are dropped unread.
    void DestroyTarget(TargetId target);
    bool IsTarget(TargetId target) const;

    void Post(const Message& message);
    void PostTask(Task task);
    // Drops queued messages that match, so that they are never delivered.
    void DiscardMessages(const std::function<bool(const Message&)>& match);

    // A repeating timer; its task runs on this thread whenever it is due and nothing else
    // is pending, until KillTimer.
    TimerId SetTimer(std::chrono::milliseconds interval, Task task);
    void KillTimer(TimerId timer);

    // Watches fd for the given epoll events (0 = not at all for now). A readiness is
    // reported once; the watch is armed again after its handler returned.
    WatchId Watch(int fd, std::uint32_t epollEvents, FdHandler handler);
    void SetWatchEvents(WatchId watch, std::uint32_t epollEvents);
    void Unwatch(WatchId watch);
    // Unwatch for a descriptor that is closed right after, and never shared with another
    // process or descriptor: its close takes it out of the poll set, with no call of its own.
    void UnwatchClosing(WatchId watch);

    void PostQuit(int exitCode) { remote_->Quit(exitCode); }
    bool QuitPending() const { return remote_->QuitPending(); }

    // Handles at most one pending item, without blocking.
    Step ProcessOne();
    // Blocks until there is work or ms elapsed (-1: no limit); runs the foreign pump first.
    // Returns true when there is work.
    bool WaitForWork(int ms);
    // The outer loop: runs until a quit request, takes it and returns its exit code.
    int Run();

    // Readable whenever the loop has work; a host event loop (Qt's, on the GUI thread)
    // watches it and then calls ProcessOne until it answers Idle. A loop without a host
    // looks at its own pending items before it waits, so only a hosted loop signals them.
    int PollDescriptor();
    // Run at the start of every WaitForWork, so that a wait on the GUI thread also
    // handles the host loop's events. Empty to remove.
    void SetForeignPump(Task pump) { foreignPump_ = std::move(pump); }

private:
    MessageLoop();

    struct Item {
        enum class Kind { Message, Task, FdReady } kind;
        Message message;
        Task task;
        WatchId watch = 0;
        std::uint32_t events = 0;
    };
    struct Timer {
        std::chrono::milliseconds interval;
        std::chrono::steady_clock::time_point due;
        std::shared_ptr<Task> task;
    };
    struct WatchEntry {
        int fd = -1;
        std::uint32_t events = 0;
        bool registered = false;  // present in the epoll set
        bool armed = false;       // registered for armedEvents, which the kernel reports once
        std::uint32_t armedEvents = 0;
        bool queued = false;      // a readiness waits in pending_; re-armed after its dispatch
        std::shared_ptr<FdHandler> handler;
    };

    void Harvest(int timeoutMs);
    void Push(Item item);
    void Signal();
    void Dispatch(Item& item);
    bool FireDueTimer();
    void ArmTimerFd();
    void ApplyWatch(WatchId id, WatchEntry& entry);

    std::thread::id owner_;
    std::shared_ptr<MessageLoopRemote> remote_;
    int epollFd_ = -1;
    int timerFd_ = -1;
    bool signalled_ = false;  // our own eventfd write not yet drained
    bool hosted_ = false;     // a host loop watches PollDescriptor()
    unsigned sinceHarvest_ = 0;
    std::deque<Item> pending_;
    std::unordered_map<TargetId, std::shared_ptr<Handler>> targets_;
    std::unordered_map<TimerId, Timer> timers_;
    std::unordered_map<WatchId, WatchEntry> watches_;
    TimerId nextTimer_ = 1;
    WatchId nextWatch_ = 16;  // below: the loop's own epoll tags
    Task foreignPump_;
};

}  // namespace platform
