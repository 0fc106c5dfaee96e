#include "media/qt/long_timer_clock.h"

#include <QTimer>
#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "media/qt/long_timer.h"

namespace media {

namespace {

struct Entry {
  TMMLongTimer* timer;
  std::uint64_t serial;  // tells a timer apart from a later one at the same address
};

struct Registry {
  std::vector<Entry> timers;
  std::unique_ptr<QTimer> clock;
  std::uint64_t next_serial = 1;
  bool in_clock_signal = false;  // Tick runs from the QTimer's own timeout
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

TMMLongTimer* Find(std::uint64_t serial) {
  for (const Entry& e : TheRegistry().timers)
    if (e.serial == serial) return e.timer;
  return nullptr;
}

}  // namespace

void LongTimerClock::Register(TMMLongTimer& timer) {
  Registry& r = TheRegistry();
  for (const Entry& e : r.timers)
    if (e.timer == &timer) return;
  if (!r.clock) {
    auto clock = std::make_unique<QTimer>();
    clock->setInterval(kTickMs);
    QObject::connect(clock.get(), &QTimer::timeout, [] {
      TheRegistry().in_clock_signal = true;
      Tick();
      TheRegistry().in_clock_signal = false;
    });
    clock->start();  // without an event dispatcher it gets no timer id (isActive() still says true)
    if (clock->timerId() <= 0) throw EOutOfResources("Not enough timers available");
    r.clock = std::move(clock);
  }
  r.timers.push_back({&timer, r.next_serial++});
}

void LongTimerClock::Unregister(TMMLongTimer& timer) {
  Registry& r = TheRegistry();
  std::erase_if(r.timers, [&timer](const Entry& e) { return e.timer == &timer; });
  if (!r.timers.empty() || !r.clock) return;
  r.clock->stop();
  // A handler of the clock's own tick freed the last timer: the clock is still signalling.
  if (r.in_clock_signal) {
    r.clock.release()->deleteLater();
  } else {
    r.clock.reset();
  }
}

void LongTimerClock::Tick() {
  // Count first, fire afterwards: a handler may create or destroy timers.
  std::vector<std::uint64_t> due;
  for (const Entry& e : TheRegistry().timers)
    if (e.timer->CountSecond()) due.push_back(e.serial);
  for (std::uint64_t serial : due)
    if (TMMLongTimer* timer = Find(serial)) timer->Timer();
}

bool LongTimerClock::Running() {
  const Registry& r = TheRegistry();
  return r.clock && r.clock->isActive() && r.clock->timerId() > 0;
}

int LongTimerClock::Count() { return static_cast<int>(TheRegistry().timers.size()); }

}  // namespace media
