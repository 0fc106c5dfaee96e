#pragma once
// A clock that tests set and advance by hand, installed for the lifetime of the object. Threads
// may read it while the test advances it.

#include "platform/clock.h"

#include <atomic>

namespace testsupport {

class ManualClock : public platform::Clock {
public:
    // 2026-12-10 08:15:02.345 local time, one hour east of Greenwich.
    ManualClock() : ManualClock(platform::EncodeDate(2026, 12, 10) + platform::EncodeTime(8, 15, 2, 345)) {}
    explicit ManualClock(platform::TDateTime local, int biasMinutes = -60) : local_(local), bias_(biasMinutes) {
        platform::InstallClock(this);
    }
    ~ManualClock() override { platform::InstallClock(nullptr); }
    ManualClock(const ManualClock&) = delete;
    ManualClock& operator=(const ManualClock&) = delete;

    platform::TDateTime LocalNow() const override { return local_; }
    int UtcBiasMinutes() const override { return bias_; }
    platform::TDateTime MonotonicNow() const override { return monotonic_; }

    // Moves both clocks on.
    void AdvanceSeconds(double seconds) {
        const double days = platform::DaysFromSeconds(seconds);
        local_ = local_ + days;
        monotonic_ = monotonic_ + days;
    }
    // Moves only the wall clock, as a change of the system time or of summer time does.
    void SetLocal(platform::TDateTime local) { local_ = local; }

private:
    std::atomic<platform::TDateTime> local_;
    std::atomic<int> bias_;
    std::atomic<platform::TDateTime> monotonic_{1000.0};
};

}  // namespace testsupport
