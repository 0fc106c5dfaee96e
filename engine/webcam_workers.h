#pragma once
// The manager's view of the threads that serve webcams. A fetch worker takes queued still
// webcams one at a time and does one turn for each; a stream worker holds one streaming
// webcam's connection. The manager and the webcams reach another thread's request only through
// InterruptRequest, which is thread-safe: it raises a flag and wakes the owning thread, which
// ends its own request. Nothing else of a worker is touched from outside.

#include "platform/thread.h"

#include <atomic>
#include <functional>
#include <memory>

namespace engine {

class twebcam;
class twebcammanager;

class tstreamworker : public platform::Thread {
public:
    using platform::Thread::Thread;
    // Ends the running request; the thread then sees Terminated or the webcam stopped.
    virtual void InterruptRequest() = 0;
};

class tfetchworker : public platform::Thread {
public:
    tfetchworker(twebcammanager& manager, int index);

    // Ends the request this worker runs for webcam, if it still runs one for it. An interrupt
    // that arrives between taking the webcam and starting the request must end that request
    // at once.
    virtual void InterruptRequest(const twebcam& webcam) = 0;
    // Wakes the worker from its idle wait; called after its idle flag was cleared.
    virtual void WakeFromIdle() { WakeUp(); }

    std::atomic<bool> FIdle{false};          // found no work and sleeps; a queued webcam clears it
    const int FIndex;                        // 1-based slot; chooses the preferred queue
    std::atomic<twebcam*> FWebcam{nullptr};  // webcam of the current turn; set when taken
    std::atomic<int> FState{0};              // 0 nothing, 1 header request, 2 picture request
    twebcammanager& FManager;

protected:
    // The worker loop: wait for a webcam, run a turn when it is still running, let go of it.
    void Execute() override { RunTurns(); }
    void RunTurns();

    // One turn for a running webcam, which is busy meanwhile. An exception that escapes it ends
    // the turn and is handed to TurnFailed.
    virtual void Turn(twebcam& webcam) = 0;
    virtual void TurnFailed() {}
    // Sleeps until woken or asked to terminate.
    virtual void IdleWait() { Doze(); }

    // Takes the next webcam, sleeping while there is none; false once terminated.
    bool WaitForWork(twebcam*& webcam);
    // Lets go of the webcam: a running one is rescheduled on the main thread, in the same call
    // that clears its busy flag, so a webcam is never held and queued at once. Nothing is left
    // to do when the turn's last call already let go (LetGoOnMain).
    void EndTurn(twebcam& webcam);
    // Main thread, as the last step of the turn's last call there: lets go of a running webcam
    // and reschedules it, as EndTurn would, so that the turn ends without a call of its own.
    // False, and nothing done, when the worker is terminated or the webcam no longer runs. After
    // true the worker must not touch the webcam again: another thread may take it at once.
    bool LetGoOnMain(twebcam& webcam);

private:
    // Main thread: clears the worker's hold and the busy flag, then reschedules the webcam.
    void LetGo(twebcam& webcam);

    std::atomic<bool> FLetGo{false};  // set by LetGoOnMain, taken by EndTurn
};

using FetchWorkerFactory = std::function<std::unique_ptr<tfetchworker>(twebcammanager&, int index)>;
using StreamWorkerFactory = std::function<std::unique_ptr<tstreamworker>(twebcam&, twebcammanager&)>;

}  // namespace engine
