#include "platform/clock.h"

#include <atomic>
#include <chrono>
#include <ctime>

namespace platform {
namespace {

class SystemClockImpl final : public Clock {
public:
    TDateTime LocalNow() const override {
        timespec ts{};
        clock_gettime(CLOCK_REALTIME, &ts);
        tm local{};
        localtime_r(&ts.tv_sec, &local);
        DateTimeParts p;
        p.year = local.tm_year + 1900;
        p.month = local.tm_mon + 1;
        p.day = local.tm_mday;
        p.hour = local.tm_hour;
        p.minute = local.tm_min;
        p.second = local.tm_sec > 59 ? 59 : local.tm_sec;  // a leap second is held at :59
        p.millisecond = static_cast<int>(ts.tv_nsec / 1000000);
        return EncodeDateTime(p);
    }

    int UtcBiasMinutes() const override {
        const time_t now = time(nullptr);
        tm local{};
        localtime_r(&now, &local);
        return static_cast<int>(-local.tm_gmtoff / 60);
    }

    TDateTime MonotonicNow() const override {
        const auto since = std::chrono::steady_clock::now().time_since_epoch();
        return std::chrono::duration<double>(since).count() / kSecondsPerDay;
    }
};

std::atomic<const Clock*> gInstalled{nullptr};

}  // namespace

const Clock& SystemClock() {
    static const SystemClockImpl clock;
    return clock;
}

const Clock& CurrentClock() {
    const Clock* installed = gInstalled.load(std::memory_order_acquire);
    return installed ? *installed : SystemClock();
}

void InstallClock(const Clock* clock) { gInstalled.store(clock, std::memory_order_release); }

}  // namespace platform
