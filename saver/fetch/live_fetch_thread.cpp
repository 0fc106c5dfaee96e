#include "saver/fetch/live_fetch_thread.h"

#include <utility>
#include <vector>

namespace saver {

LiveFetchThread::LiveFetchThread(LiveRequest request, Done done)
    : request_(std::move(request)), done_(std::move(done)) {
    Resume();
}

LiveFetchThread::~LiveFetchThread() {
    Cancel();
    Terminate();
    WaitFor();
}

void LiveFetchThread::Abandon() {
    abandoned_.store(true);
    Cancel();
    // Never freed: the thread may still run when the process ends, and the list keeps the
    // object reachable for the leak checker.
    static auto* abandoned = new std::vector<LiveFetchThread*>;  // main thread only
    abandoned->push_back(this);
}

void LiveFetchThread::Execute() {
    const LiveReply reply = fetch_.Get(request_);
    if (abandoned_.load()) return;  // nobody serves the call any more
    Synchronize([this, &reply] {
        if (!abandoned_.load()) done_(reply);
    });
}

}  // namespace saver
