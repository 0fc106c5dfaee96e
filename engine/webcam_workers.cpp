#include "engine/webcam_workers.h"

#include "engine/webcam.h"
#include "engine/webcam_manager.h"

namespace engine {

tfetchworker::tfetchworker(twebcammanager& manager, int index)
    : platform::Thread(Priority::Normal), FIndex(index), FManager(manager) {}

bool tfetchworker::WaitForWork(twebcam*& webcam) {
    FWebcam = nullptr;
    while (!Terminated()) {
        // The idle flag goes up in the same locked step that found the queues empty, and a
        // webcam queued after it clears the flag and wakes this thread, a wake-up kept until
        // the sleep below: the thread sleeps until there is work, with no wake-up lost.
        if (FManager.GetNextWebcam(FIndex, webcam, &FIdle)) return true;
        IdleWait();
    }
    return false;
}

void tfetchworker::EndTurn(twebcam& webcam) {
    FState = 0;
    if (FLetGo.exchange(false)) return;
    if (Terminated() || !webcam.FRunning) {
        webcam.FBusy = false;
        return;
    }
    Synchronize([this, &webcam] { LetGo(webcam); });
}

bool tfetchworker::LetGoOnMain(twebcam& webcam) {
    if (Terminated() || !webcam.FRunning) return false;
    FLetGo = true;
    LetGo(webcam);
    return true;
}

void tfetchworker::LetGo(twebcam& webcam) {
    // No interrupt meant for the webcam's next holder can reach this thread from here on.
    FWebcam = nullptr;
    webcam.FBusy = false;
    try {
        webcam.ScheduleNext();
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
