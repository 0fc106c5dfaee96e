#include "platform/message_loop.h"

#include <sys/epoll.h>
#include <sys/timerfd.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cassert>
#include <cerrno>
#include <ctime>
#include <stdexcept>

namespace platform {

namespace {

constexpr std::uint64_t kWakeTag = 1;
constexpr std::uint64_t kTimerTag = 2;
// Harvest the descriptors at least this often while a backlog is being worked off,
// so that a stream of posts cannot starve the sockets.
constexpr unsigned kHarvestEvery = 16;
// Timers are generated when nothing else is pending, and also, once this many items were
// handled in a row (since the last tick or the last time nothing was pending), before the
// next item: a socket that is always readable (a peer
// that sends as fast as it can) cannot starve the thread's timers.
constexpr unsigned kTimerEvery = 16;
// Items handled in a row. A loop belongs to one thread, so this is its own.
thread_local unsigned sinceTimer = 0;

std::atomic<TargetId> nextTarget{1};

void EpollControl(int epollFd, int op, int fd, std::uint32_t events, std::uint64_t tag) {
    epoll_event ev{};
    ev.events = events;
    ev.data.u64 = tag;
    if (epoll_ctl(epollFd, op, fd, &ev) < 0) throw std::runtime_error("epoll_ctl failed");
}

}  // namespace

MessageLoop& MessageLoop::Current() {
    thread_local std::unique_ptr<MessageLoop> loop(new MessageLoop());
    return *loop;
}

MessageLoop::MessageLoop()
    : owner_(std::this_thread::get_id()), remote_(std::make_shared<MessageLoopRemote>()) {
    epollFd_ = epoll_create1(EPOLL_CLOEXEC);
    timerFd_ = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (epollFd_ < 0 || timerFd_ < 0) throw std::runtime_error("message loop: no epoll or timerfd");
    EpollControl(epollFd_, EPOLL_CTL_ADD, remote_->eventFd(), EPOLLIN, kWakeTag);
    EpollControl(epollFd_, EPOLL_CTL_ADD, timerFd_, EPOLLIN, kTimerTag);
}

MessageLoop::~MessageLoop() {
    remote_->Close();
    close(timerFd_);
    close(epollFd_);
}

TargetId MessageLoop::CreateTarget(Handler handler) {
    assert(OnOwnerThread());
    TargetId id = nextTarget.fetch_add(1, std::memory_order_relaxed);
    targets_.emplace(id, std::make_shared<Handler>(std::move(handler)));
    return id;
}

void MessageLoop::DestroyTarget(TargetId target) {
    assert(OnOwnerThread());
    targets_.erase(target);
}

bool MessageLoop::IsTarget(TargetId target) const { return targets_.count(target) != 0; }

void MessageLoop::Post(const Message& message) {
    assert(OnOwnerThread());
    Item item{Item::Kind::Message, message, {}, 0, 0};
    Push(std::move(item));
}

void MessageLoop::PostTask(Task task) {
    assert(OnOwnerThread());
    Push(Item{Item::Kind::Task, {}, std::move(task), 0, 0});
}

void MessageLoop::DiscardMessages(const std::function<bool(const Message&)>& match) {
    std::erase_if(pending_, [&](const Item& item) {
        return item.kind == Item::Kind::Message && match(item.message);
    });
}

void MessageLoop::Push(Item item) {
    pending_.push_back(std::move(item));
    Signal();
}

int MessageLoop::PollDescriptor() {
    hosted_ = true;
    if (!pending_.empty()) Signal();
    return epollFd_;
}

// Keeps the poll descriptor readable while items are pending, for a host loop that
// watches it.
void MessageLoop::Signal() {
    if (signalled_ || !hosted_) return;
    signalled_ = true;
    remote_->Wake();
}

TimerId MessageLoop::SetTimer(std::chrono::milliseconds interval, Task task) {
    assert(OnOwnerThread());
    TimerId id = nextTimer_++;
    interval = std::max(interval, std::chrono::milliseconds(1));
    timers_.emplace(id, Timer{interval, std::chrono::steady_clock::now() + interval,
                              std::make_shared<Task>(std::move(task))});
    ArmTimerFd();
    return id;
}

void MessageLoop::KillTimer(TimerId timer) {
    assert(OnOwnerThread());
    if (timers_.erase(timer)) ArmTimerFd();
}

void MessageLoop::ArmTimerFd() {
    itimerspec spec{};
    if (!timers_.empty()) {
        auto due = std::min_element(timers_.begin(), timers_.end(), [](const auto& a, const auto& b) {
                       return a.second.due < b.second.due;
                   })->second.due;
        // steady_clock is CLOCK_MONOTONIC; a zero value would disarm the timer.
        auto ns = std::max<std::int64_t>(
            1, std::chrono::duration_cast<std::chrono::nanoseconds>(due.time_since_epoch()).count());
        spec.it_value.tv_sec = ns / 1000000000;
        spec.it_value.tv_nsec = ns % 1000000000;
    }
    timerfd_settime(timerFd_, TFD_TIMER_ABSTIME, &spec, nullptr);
}

WatchId MessageLoop::Watch(int fd, std::uint32_t epollEvents, FdHandler handler) {
    assert(OnOwnerThread());
    WatchId id = nextWatch_++;
    auto& entry = watches_[id];
    entry = WatchEntry{.fd = fd, .events = epollEvents, .handler = std::make_shared<FdHandler>(std::move(handler))};
    ApplyWatch(id, entry);
    return id;
}

void MessageLoop::SetWatchEvents(WatchId watch, std::uint32_t epollEvents) {
    assert(OnOwnerThread());
    auto it = watches_.find(watch);
    if (it == watches_.end()) return;
    it->second.events = epollEvents;
    if (!it->second.queued) ApplyWatch(watch, it->second);
}

void MessageLoop::Unwatch(WatchId watch) {
    assert(OnOwnerThread());
    auto it = watches_.find(watch);
    if (it == watches_.end()) return;
    if (it->second.registered) epoll_ctl(epollFd_, EPOLL_CTL_DEL, it->second.fd, nullptr);
    watches_.erase(it);
}

void MessageLoop::UnwatchClosing(WatchId watch) {
    assert(OnOwnerThread());
    watches_.erase(watch);
}

// One-shot registration: a readiness is reported once and the descriptor stays quiet
// until its handler has run. No events at all means nothing reported, not even a hang-up
// against the caller's wish: out of the epoll set, unless the kernel has disarmed it already.
// A registration that already stands as wanted is left alone.
void MessageLoop::ApplyWatch(WatchId id, WatchEntry& entry) {
    const std::uint32_t wanted = entry.events | EPOLLONESHOT;
    if (entry.events == 0) {
        if (entry.armed) {
            epoll_ctl(epollFd_, EPOLL_CTL_DEL, entry.fd, nullptr);
            entry.registered = entry.armed = false;
        }
        return;
    }
    if (entry.armed && entry.armedEvents == wanted) return;
    EpollControl(epollFd_, entry.registered ? EPOLL_CTL_MOD : EPOLL_CTL_ADD, entry.fd, wanted, id);
    entry.registered = entry.armed = true;
    entry.armedEvents = wanted;
}

void MessageLoop::Harvest(int timeoutMs) {
    sinceHarvest_ = 0;
    epoll_event events[32];
    int n;
    do {
        n = epoll_wait(epollFd_, events, 32, timeoutMs);
    } while (n < 0 && errno == EINTR);
    for (int i = 0; i < n; ++i) {
        std::uint64_t tag = events[i].data.u64;
        if (tag == kWakeTag) {
            std::uint64_t count;
            while (read(remote_->eventFd(), &count, sizeof count) > 0) {
            }
            signalled_ = false;
            for (auto& task : remote_->TakeTasks())
                pending_.push_back(Item{Item::Kind::Task, {}, std::move(task), 0, 0});
        } else if (tag == kTimerTag) {
            std::uint64_t expirations;
            while (read(timerFd_, &expirations, sizeof expirations) > 0) {
            }
        } else if (auto it = watches_.find(tag); it != watches_.end()) {
            it->second.armed = false;  // one-shot: reported, so disarmed
            it->second.queued = true;
            pending_.push_back(Item{Item::Kind::FdReady, {}, {}, tag, events[i].events});
        }
    }
}

MessageLoop::Step MessageLoop::ProcessOne() {
    assert(OnOwnerThread());
    if (QuitPending()) return Step::Quit;
    if (pending_.empty() || ++sinceHarvest_ >= kHarvestEvery) Harvest(0);
    if (QuitPending()) return Step::Quit;
    if (pending_.empty()) {
        sinceTimer = 0;  // the work ran dry: nothing was starved
        return FireDueTimer() ? Step::Dispatched : Step::Idle;
    }
    if (++sinceTimer >= kTimerEvery && FireDueTimer()) {
        Signal();  // the items are still pending
        return Step::Dispatched;
    }
    Item item = std::move(pending_.front());
    pending_.pop_front();
    Dispatch(item);
    if (!pending_.empty()) Signal();
    return Step::Dispatched;
}

void MessageLoop::Dispatch(Item& item) {
    switch (item.kind) {
    case Item::Kind::Message: {
        auto it = targets_.find(item.message.target);
        if (it == targets_.end()) return;
        auto handler = it->second;  // the handler may destroy its own target
        (*handler)(item.message);
        return;
    }
    case Item::Kind::Task:
        item.task();
        return;
    case Item::Kind::FdReady: {
        auto it = watches_.find(item.watch);
        if (it == watches_.end()) return;  // unwatched since: a stale readiness
        auto handler = it->second.handler;
        it->second.queued = false;
        (*handler)(item.events);
        it = watches_.find(item.watch);
        if (it != watches_.end() && !it->second.queued) ApplyWatch(item.watch, it->second);
        return;
    }
    }
}

bool MessageLoop::FireDueTimer() {
    auto now = std::chrono::steady_clock::now();
    auto due = timers_.end();
    for (auto it = timers_.begin(); it != timers_.end(); ++it)
        if (it->second.due <= now && (due == timers_.end() || it->second.due < due->second.due)) due = it;
    if (due == timers_.end()) return false;
    due->second.due = now + due->second.interval;
    sinceTimer = 0;
    auto task = due->second.task;  // the task may kill its own timer
    ArmTimerFd();
    (*task)();
    return true;
}

bool MessageLoop::WaitForWork(int ms) {
    assert(OnOwnerThread());
    if (foreignPump_) foreignPump_();
    if (!pending_.empty() || QuitPending()) return true;
    Harvest(ms);
    if (!pending_.empty() || QuitPending()) return true;
    auto now = std::chrono::steady_clock::now();
    return std::any_of(timers_.begin(), timers_.end(), [&](const auto& t) { return t.second.due <= now; });
}

int MessageLoop::Run() {
    assert(OnOwnerThread());
    for (;;) {
        Step step = ProcessOne();
        if (step == Step::Quit) return remote_->TakeQuit();
        if (step == Step::Idle) WaitForWork(-1);
    }
}

}  // namespace platform
