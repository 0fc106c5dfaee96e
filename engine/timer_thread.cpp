#include "engine/timer_thread.h"

#include "engine/webcam.h"
#include "engine/webcam_manager.h"
#include "platform/clock.h"
#include "platform/dispatch.h"

#include <chrono>
#include <exception>
#include <string>

namespace engine {
namespace {

constexpr std::chrono::milliseconds kLongestSleep(1000);

// Reports the webcam's status as it stands when the call runs on the main thread. Queued, so
// the scheduler never waits for the main thread; it holds nothing of the scheduler, and when it
// runs after the webcam or the manager was freed (or the manager's destruction began) it does
// nothing.
void PostStatusReport(twebcammanager& manager, twebcam& webcam, unsigned generation) {
    platform::Dispatcher::Main().Post([&manager, alive = manager.AliveFlag(), camera = &webcam, generation] {
        if (!*alive || manager.WebcamGeneration() != generation || !camera->FOnStatus) return;
        try {
            camera->FOnStatus(camera->FRecordNo, camera->FStatus);
        } catch (...) {
            // Dropped: the scheduler goes on, and the webcam's next report tells its status.
        }
    });
}

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
        // The generation, read before the webcam is taken off the wait list, tells the report
        // whether the webcam still exists when it runs: a webcam is only freed after it left
        // every list. The report is queued while no fetch thread can take the webcam yet, so
        // it runs on the main thread before any call of the thread that takes it.
        const unsigned generation = FManager.WebcamGeneration();
        const auto report = [this, generation](twebcam& webcam) {
            if (!Terminated()) PostStatusReport(FManager, webcam, generation);
        };
        twebcam* moved = nullptr;
        const auto step = FManager.FQueues.MoveDueHead(platform::MonotonicNow(), moved, report);
        if (step != twebcamqueues::Step::Moved && step != twebcamqueues::Step::Waiting) return;
    }
}

}  // namespace engine
