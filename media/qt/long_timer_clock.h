#pragma once
// The one-second tick shared by all long timers: a QTimer of the GUI thread that runs while at
// least one long timer exists. Everything here runs on the GUI thread.

namespace media {

class TMMLongTimer;

class LongTimerClock {
 public:
  static constexpr int kTickMs = 1000;

  // One second passed: counts every enabled timer with a handler and fires those that are due.
  // A timer destroyed by another's handler during the same tick is not fired. The QTimer calls
  // this; tests call it in its place.
  static void Tick();
  static bool Running();
  static int Count();

 private:
  friend class TMMLongTimer;
  static void Register(TMMLongTimer& timer);
  static void Unregister(TMMLongTimer& timer);
};

}  // namespace media
