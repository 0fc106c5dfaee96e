#pragma once
// One live picture fetched on a short-lived thread of its own. The reply reaches the main
// thread through the thread's synchronised call. Cancel and the destructor make a running
// transfer return at once and wait for the thread, so nothing the transfer uses is freed
// under it. An owner that is ending abandons the thread instead: no wait at all.

#include "platform/thread.h"
#include "saver/fetch/live_fetch.h"

#include <atomic>
#include <functional>

namespace saver {

class LiveFetchThread final : public platform::Thread {
public:
    // done runs on the main thread once, with the reply (a cancelled fetch fails with
    // "Cancelled"); the caller ignores it when it is ending.
    using Done = std::function<void(const LiveReply&)>;

    LiveFetchThread(LiveRequest request, Done done);
    // Cancels and waits (draining the main thread's calls, so a pending done still runs).
    ~LiveFetchThread() override;

    // Any thread.
    void Cancel() { fetch_.Cancel(); }

    // Main thread, in place of destroying it (the owner releases it): cancels, drops the reply,
    // and leaves the thread to end by itself, however long what it waits for takes (a name
    // look-up can take tens of seconds); the object is freed once it has.
    void Abandon();

protected:
    void Execute() override;

private:
    const LiveRequest request_;
    const Done done_;
    LiveFetch fetch_;
    std::atomic<bool> abandoned_{false};
};

}  // namespace saver
