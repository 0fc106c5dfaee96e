#pragma once
// Bounded pumping of the calling thread's message loop, for tests.

#include <poll.h>

#include <chrono>
#include <functional>

#include "platform/message_loop.h"

namespace looptest {

// Handles work until done() holds or the time is up; returns done().
inline bool PumpUntil(const std::function<bool()>& done,
                      std::chrono::milliseconds limit = std::chrono::seconds(5)) {
    auto& loop = platform::MessageLoop::Current();
    auto end = std::chrono::steady_clock::now() + limit;
    while (!done() && std::chrono::steady_clock::now() < end) {
        if (loop.ProcessOne() == platform::MessageLoop::Step::Idle) loop.WaitForWork(10);
    }
    return done();
}

// Handles everything that is pending now, without waiting.
inline void PumpPending() {
    auto& loop = platform::MessageLoop::Current();
    while (loop.ProcessOne() == platform::MessageLoop::Step::Dispatched) {
    }
}

// Whether the loop's descriptor reports work within ms.
inline bool LoopReadable(int ms = 0) {
    pollfd p{platform::MessageLoop::Current().PollDescriptor(), POLLIN, 0};
    return poll(&p, 1, ms) == 1;
}

}  // namespace looptest
