#include "saver/fetch/live_fetch_thread.h"

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

void LiveFetchThread::Execute() {
    const LiveReply reply = fetch_.Get(request_);
    Synchronize([this, &reply] { done_(reply); });
}

}  // namespace saver
