#pragma once
// One live picture fetched on a short-lived thread of its own. The reply reaches the main
// thread through the thread's synchronised call. Cancel and the destructor make a running
// transfer return at once and wait for the thread, so nothing the transfer uses is freed
// under it.

#include "platform/thread.h"
#include "saver/fetch/live_fetch.h"

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

protected:
    void Execute() override;

private:
    const LiveRequest request_;
    const Done done_;
    LiveFetch fetch_;
};

}  // namespace saver
