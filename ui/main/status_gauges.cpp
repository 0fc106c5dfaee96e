#include "ui/main/status_gauges.h"

#include <cstdint>

#include "media/rounding.h"

namespace ui {
namespace {

int Percent(int part, int whole) {
    if (whole <= 0) return 0;
    return static_cast<int>(media::RoundHalfEven(static_cast<std::int64_t>(part) * 100, whole));
}

int ThreadPercent(int part, int threads) {
    const int percent = Percent(part, threads);
    return percent >= 1 && percent <= 19 ? 20 : percent;
}

}  // namespace

StatusGaugeValues StatusGauges(const StatusGaugeInput& in) {
    StatusGaugeValues out;
    if (in.running == 0) return out;
    out.queued = Percent(in.queued, in.running);
    out.waiting = Percent(in.waiting, in.running);
    out.picture = ThreadPercent(in.fetchingPicture, in.threadCount);
    out.header = ThreadPercent(in.checkingHeader, in.threadCount);
    return out;
}

}  // namespace ui
