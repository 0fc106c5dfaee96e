#pragma once
// The scheduler: when the head of the wait list comes due it moves each webcam whose due time
// has strictly passed from the wait list into its fetch queue, in due-time order, and reports
// status 1 for it on the main thread. It sleeps in between; a new head wakes it. A report that
// fails (the receiver throws) is dropped; nothing ends the thread but its
// termination.

#include "platform/thread.h"

namespace engine {

class twebcam;
class twebcammanager;

class ttimerthread : public platform::Thread {
public:
    explicit ttimerthread(twebcammanager& manager);
    ~ttimerthread() override;

    // One pass over the heads of the wait list; ends at the first head that is not yet due or
    // that was stopped (dropped).
    void Pass();

    twebcammanager& FManager;

protected:
    void Execute() override;
};

}  // namespace engine
