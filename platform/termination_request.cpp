#include "platform/termination_request.h"

#include <atomic>

namespace platform {
namespace {

std::atomic<bool> gRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

}  // namespace

bool TerminationRequested() { return gRequested.load(); }
void RequestTermination() { gRequested.store(true); }

}  // namespace platform
