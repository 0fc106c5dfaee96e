#pragma once
// A request to stop what a loop's thread is waiting for, which any thread may make: a
// counter that only grows, plus a wake-up of the owning loop. The owner compares the
// counter with the value it took when its action began, so a request that came before
// an action cannot end it, and a newer action cannot swallow a request meant for the
// action it interrupted.

#include <atomic>
#include <cstdint>
#include <memory>

#include "platform/message_loop_remote.h"

namespace platform {

class LoopInterrupt {
public:
    explicit LoopInterrupt(std::shared_ptr<MessageLoopRemote> loop) : loop_(std::move(loop)) {}

    void Request() {
        serial_.fetch_add(1, std::memory_order_acq_rel);
        loop_->Wake();
    }
    std::uint32_t Serial() const { return serial_.load(std::memory_order_acquire); }

private:
    std::atomic<std::uint32_t> serial_{0};
    std::shared_ptr<MessageLoopRemote> loop_;
};

}  // namespace platform
