#pragma once
// A timer for long periods: OnTimer fires every Interval seconds. All long timers count the same
// one-second tick (LongTimerClock) on the GUI thread, so OnTimer runs there too.

#include <functional>
#include <stdexcept>

#include "media/mm_component.h"

namespace media {

class EOutOfResources : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TMMLongTimer : public TMMNonVisualComponent {
 public:
  using TNotifyEvent = std::function<void(TMMLongTimer& sender)>;

  // Registers with the shared tick; raises EOutOfResources "Not enough timers available" when
  // the tick cannot be started (a thread without an event loop).
  TMMLongTimer();
  ~TMMLongTimer() override;

  // A change of Enabled or Interval, and any assignment of OnTimer, starts the count again.
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  // Seconds; 0 (or less) never fires.
  int Interval() const { return interval_; }
  void SetInterval(int seconds);
  const TNotifyEvent& OnTimer() const { return on_timer_; }
  void SetOnTimer(TNotifyEvent handler);

 protected:
  // Calls OnTimer when assigned.
  virtual void Timer();

 private:
  friend class LongTimerClock;
  // One second passed; true when the timer is due now.
  bool CountSecond();

  bool enabled_ = true;
  int interval_ = 1;
  int counter_ = 0;
  TNotifyEvent on_timer_;
};

}  // namespace media
