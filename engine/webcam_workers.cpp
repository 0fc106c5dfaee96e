#include "engine/webcam_workers.h"

#include "engine/webcam.h"
#include "engine/webcam_manager.h"

namespace engine {

tfetchworker::tfetchworker(twebcammanager& manager, int index)
    : platform::Thread(Priority::Normal), FIndex(index), FManager(manager) {}

bool tfetchworker::WaitForWork(twebcam*& webcam) {
    FWebcam = nullptr;
    while (!Terminated()) {
        // Idle is announced before the queues are looked at: a webcam queued just after the
        // look finds the flag set, and its wake-up is kept until the pause below.
        FIdle = true;
        if (FManager.GetNextWebcam(FIndex, webcam)) {
            FIdle = false;
            return true;
        }
        IdleWait(std::chrono::milliseconds(25));
    }
    return false;
}

void tfetchworker::EndTurn(twebcam& webcam) {
    FState = 0;
    if (Terminated() || !webcam.FRunning) {
        webcam.FBusy = false;
        return;
    }
    try {
        Synchronize([&webcam] {
            webcam.FBusy = false;
            webcam.ScheduleNext();
        });
    } catch (...) {
        // The rescheduling's own failure; the busy flag is already clear.
    }
}

void tfetchworker::RunTurns() {
    twebcam* webcam = nullptr;
    while (WaitForWork(webcam)) {
        if (webcam->FRunning) {
            try {
                Turn(*webcam);
            } catch (...) {
                TurnFailed();
            }
        }
        EndTurn(*webcam);
    }
}

}  // namespace engine
