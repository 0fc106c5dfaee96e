#include "saver/fetch/live_fetch_thread.h"

#include <thread>
#include <utility>

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
    // A thread of its own waits for it and frees it: nobody else waits, and the process may
    // end first.
    std::thread([this] { delete this; }).detach();
}

void LiveFetchThread::Execute() {
    const LiveReply reply = fetch_.Get(request_);
    if (abandoned_.load()) return;  // nobody serves the call any more
    Synchronize([this, &reply] {
        if (!abandoned_.load()) done_(reply);
    });
}

}  // namespace saver
