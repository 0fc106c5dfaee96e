#include "media/qt/long_timer.h"

#include "media/qt/long_timer_clock.h"

namespace media {

TMMLongTimer::TMMLongTimer() { LongTimerClock::Register(*this); }

TMMLongTimer::~TMMLongTimer() {
  enabled_ = false;
  LongTimerClock::Unregister(*this);
}

void TMMLongTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  counter_ = 0;
}

void TMMLongTimer::SetInterval(int seconds) {
  if (seconds == interval_) return;
  interval_ = seconds;
  counter_ = 0;
}

void TMMLongTimer::SetOnTimer(TNotifyEvent handler) {
  on_timer_ = std::move(handler);
  counter_ = 0;
}

void TMMLongTimer::Timer() {
  if (on_timer_) on_timer_(*this);
}

bool TMMLongTimer::CountSecond() {
  if (interval_ <= 0 || !enabled_ || !on_timer_) return false;
  if (++counter_ < interval_) return false;
  counter_ = 0;
  return true;
}

}  // namespace media
