#pragma once
// The two clocks of the program. Local time names picture files and dates shown to the user;
// the monotonic clock runs the scheduler's due times, so a change of the wall clock (summer
// time ending, a manual correction) never holds webcams back. Both are read through one
// replaceable clock, so tests of schedules and stamps are exact and fast.

#include "platform/clock_datetime.h"

namespace platform {

class Clock {
public:
    virtual ~Clock() = default;
    // Local wall time.
    virtual TDateTime LocalNow() const = 0;
    // Minutes to add to local time to get universal time (west of Greenwich is positive).
    virtual int UtcBiasMinutes() const = 0;
    // Days since an arbitrary start; never jumps and never runs backwards.
    virtual TDateTime MonotonicNow() const = 0;
};

// The clocks of the system.
const Clock& SystemClock();

// The clock every reader uses: the system clock unless a test installed another. Installing is
// meant for test set-up, before the threads that read the clock run; nullptr restores the
// system clock. The clock must outlive its installation.
const Clock& CurrentClock();
void InstallClock(const Clock* clock);

inline TDateTime Now() { return CurrentClock().LocalNow(); }
inline TDateTime MonotonicNow() { return CurrentClock().MonotonicNow(); }

}  // namespace platform
