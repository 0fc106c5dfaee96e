#include "engine/timer_thread.h"

#include "engine/webcam.h"
#include "engine/webcam_manager.h"
#include "platform/clock.h"

#include <chrono>
#include <exception>
#include <string>

namespace engine {
namespace {

constexpr std::chrono::milliseconds kLongestSleep(1000);

}  // namespace

ttimerthread::ttimerthread(twebcammanager& manager) : platform::Thread(Priority::Lowest), FManager(manager) {}

ttimerthread::~ttimerthread() {
    Terminate();
    WaitFor();
}

void ttimerthread::Execute() {
    // Sleeps until the head of the wait list is due, or without limit while the list is empty;
    // a webcam that becomes the head wakes it (a wake-up before the sleep is kept for it). The
    // longest sleep bounds the wait when the clock the due times run on is moved by hand.
    while (!Terminated()) {
        try {
            Pass();
        } catch (...) {
            // Whatever cut this pass short, the next one goes on: the thread must not end.
        }
        const auto wait = FManager.FQueues.TimeToNextDue(platform::MonotonicNow(), kLongestSleep);
        if (!(wait ? Doze(*wait) : Doze())) return;
    }
}

void ttimerthread::Pass() {
    for (;;) {
        // Webcams may be freed while the status call waits for the main thread. The generation,
        // read before the webcam is taken off the wait list, tells the call whether the webcam
        // still exists when it runs: a webcam is only freed after it left every list.
        const unsigned generation = FManager.WebcamGeneration();
        twebcam* moved = nullptr;
        if (FManager.FQueues.MoveDueHead(platform::MonotonicNow(), moved) != twebcamqueues::Step::Moved) return;
        FCurrent = moved;
        if (Terminated()) continue;
        Synchronize([this, generation] {
            if (FManager.WebcamGeneration() != generation || !FCurrent->FOnStatus) return;
            try {
                FCurrent->FOnStatus(FCurrent->FRecordNo, FCurrent->FStatus);
            } catch (const std::exception& e) {
                FManager.DebugLine(std::string("Scheduler: status report failed: ") + e.what());
            } catch (...) {
                FManager.DebugLine("Scheduler: status report failed");
            }
        });
    }
}

}  // namespace engine
