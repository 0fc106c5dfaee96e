#include "platform/dispatch.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <thread>

namespace platform {
namespace {

// Captured during static initialisation, which runs on the thread of main().
const std::thread::id gMainThreadId = std::this_thread::get_id();

// The longest a drain goes on taking calls that arrived while it ran, so that a stream of
// calls still leaves the toolkit's events (painting, input) their turn.
constexpr std::chrono::milliseconds kDrainSlice(10);

}  // namespace

Dispatcher& Dispatcher::Main() {
    static Dispatcher dispatcher;
    return dispatcher;
}

Dispatcher::Dispatcher() : FEventFd(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {
    if (FEventFd < 0) throw std::runtime_error("eventfd failed");
}

Dispatcher::~Dispatcher() { close(FEventFd); }

bool Dispatcher::IsMainThread() const { return std::this_thread::get_id() == gMainThreadId; }

void Dispatcher::Enqueue(std::shared_ptr<Call> call) {
    // Caller holds FQueueLock. The descriptor turns readable with the first pending call.
    if (FPending.empty()) {
        const std::uint64_t one = 1;
        [[maybe_unused]] ssize_t n = write(FEventFd, &one, sizeof one);
    }
    FPending.push_back(std::move(call));
    FWakeMain.notify_all();
}

void Dispatcher::Synchronize(std::function<void()> fn) {
    if (IsMainThread()) {
        fn();
        return;
    }
    auto call = std::make_shared<Call>();
    call->fn = std::move(fn);
    call->caller = std::this_thread::get_id();
    std::unique_lock lock(FQueueLock);
    Enqueue(call);
    call->ran.wait(lock, [&] { return call->done; });
    // Take the exception out under the lock: from here on this thread is its only owner, so
    // the main thread's release of the call never races with the caller's handling of it.
    const std::exception_ptr error = std::move(call->error);
    lock.unlock();
    if (error) std::rethrow_exception(error);
}

void Dispatcher::Post(std::function<void()> fn) {
    auto call = std::make_shared<Call>();
    call->fn = std::move(fn);
    std::lock_guard lock(FQueueLock);
    Enqueue(std::move(call));
}

std::deque<std::shared_ptr<Dispatcher::Call>> Dispatcher::TakePending() {
    std::deque<std::shared_ptr<Call>> batch;
    std::lock_guard lock(FQueueLock);
    if (FPending.empty()) return batch;  // the descriptor is not readable either
    batch.swap(FPending);
    std::uint64_t count = 0;
    [[maybe_unused]] ssize_t n = read(FEventFd, &count, sizeof count);
    return batch;
}

int Dispatcher::ProcessMessages() {
    // Under load the next call is often queued before the last one returns: it is served in
    // the same wake-up, in order, until the queue is empty or the slice is used up. The slice
    // starts once the first batch ran, so what that batch left queued is served however long
    // the batch took (a slow or loaded machine does not change which calls one drain serves).
    std::optional<std::chrono::steady_clock::time_point> sliceEnd;
    int ran = 0;
    for (auto batch = TakePending(); !batch.empty(); batch = TakePending()) {
        RunCalls(batch);
        ran += static_cast<int>(batch.size());
        const auto now = std::chrono::steady_clock::now();
        if (!sliceEnd) sliceEnd = now + kDrainSlice;
        else if (now >= *sliceEnd) break;
    }
    if (FForeignPump) FForeignPump();
    return ran;
}

void Dispatcher::RunCalls(std::deque<std::shared_ptr<Call>>& batch) {
    for (auto& call : batch) {
        std::exception_ptr error;
        FServing.push_back(call->caller);
        try {
            call->fn();
        } catch (...) {
            error = std::current_exception();
        }
        FServing.pop_back();
        {
            std::lock_guard lock(FQueueLock);
            call->error = std::move(error);
            call->done = true;
        }
        call->ran.notify_one();  // the batch's reference keeps the call alive until here
    }
}

bool Dispatcher::WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds poll,
                           std::chrono::steady_clock::time_point deadline) {
    for (;;) {
        // Look at the condition before draining, so calls queued just before it became true
        // (a thread's last report) still run before the wait returns.
        const bool finished = done();
        const int ran = ProcessMessages();
        if (finished) return true;
        if (ran > 0) continue;  // the calls may have made it true
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) return false;
        const auto until = deadline - now < poll ? deadline : now + poll;
        std::unique_lock lock(FQueueLock);
        FWakeMain.wait_until(lock, until, [&] { return FWoken || !FPending.empty(); });
        FWoken = false;
    }
}

bool Dispatcher::IsServing(std::thread::id caller) const {
    return std::find(FServing.begin(), FServing.end(), caller) != FServing.end();
}

void Dispatcher::Wake() {
    std::lock_guard lock(FQueueLock);
    FWoken = true;
    FWakeMain.notify_all();
}

void Dispatcher::SetForeignPump(std::function<void()> pump) { FForeignPump = std::move(pump); }

void SleepPumping(std::chrono::milliseconds duration) {
    // The drains run the foreign pump: a window mapped or uncovered during the pause (the
    // splash, on a busy display) is painted within this, not only when the pause ends.
    constexpr std::chrono::milliseconds kPumpEvery(10);
    Dispatcher::Main().WaitUntil([] { return false; }, std::min(duration, kPumpEvery),
                                 std::chrono::steady_clock::now() + duration);
}

}  // namespace platform
