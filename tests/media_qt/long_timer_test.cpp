#include "media/qt/long_timer.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

#include "media/qt/long_timer_clock.h"

namespace {

using namespace media;

// Counts the ticks and records at which ones each timer fired.
class LongTimerTest : public ::testing::Test {
 protected:
  void Tick(int seconds = 1) {
    for (int i = 0; i < seconds; ++i) {
      ++now_;
      LongTimerClock::Tick();
    }
  }
  void Record(TMMLongTimer& timer, std::vector<int>& fired) {
    timer.SetOnTimer([this, &fired](TMMLongTimer&) { fired.push_back(now_); });
  }
  int now_ = 0;
};

TEST_F(LongTimerTest, FiresEveryIntervalSeconds) {
  TMMLongTimer timer;
  EXPECT_TRUE(timer.Enabled());
  EXPECT_EQ(timer.Interval(), 1);
  std::vector<int> fired;
  timer.SetInterval(3);
  Record(timer, fired);
  Tick(10);
  EXPECT_EQ(fired, (std::vector<int>{3, 6, 9}));
}

TEST_F(LongTimerTest, AnyChangeStartsTheCountAgain) {
  TMMLongTimer timer;
  std::vector<int> fired;
  timer.SetInterval(10);
  Record(timer, fired);
  Tick(4);
  timer.SetInterval(5);
  Tick(3);
  timer.SetInterval(5);  // the same value: the count goes on
  Tick(8);
  EXPECT_EQ(fired, (std::vector<int>{9, 14}));

  fired.clear();
  Tick(3);
  timer.SetEnabled(false);
  Tick(10);  // a disabled timer does not count
  timer.SetEnabled(true);
  Tick(5);
  EXPECT_EQ(fired, (std::vector<int>{33}));
}

TEST_F(LongTimerTest, IntervalZeroAndNoHandlerNeverFire) {
  TMMLongTimer silent;
  std::vector<int> fired;
  silent.SetInterval(0);
  Record(silent, fired);
  TMMLongTimer unassigned;  // counts nothing without a handler
  unassigned.SetInterval(2);
  Tick(5);
  EXPECT_TRUE(fired.empty());
  unassigned.SetOnTimer([&](TMMLongTimer&) { fired.push_back(now_); });
  Tick(2);
  EXPECT_EQ(fired, (std::vector<int>{7}));
  EXPECT_TRUE(LongTimerClock::Running());  // still the one-second tick, never faster
}

TEST_F(LongTimerTest, TimersShareOneTickThatStopsWithTheLast) {
  EXPECT_FALSE(LongTimerClock::Running());
  auto two = std::make_unique<TMMLongTimer>();
  auto three = std::make_unique<TMMLongTimer>();
  EXPECT_EQ(LongTimerClock::Count(), 2);
  EXPECT_TRUE(LongTimerClock::Running());
  std::vector<int> fired2, fired3;
  two->SetInterval(2);
  three->SetInterval(3);
  Record(*two, fired2);
  Record(*three, fired3);
  Tick(6);
  EXPECT_EQ(fired2, (std::vector<int>{2, 4, 6}));
  EXPECT_EQ(fired3, (std::vector<int>{3, 6}));

  two.reset();
  Tick(3);
  EXPECT_EQ(fired3, (std::vector<int>{3, 6, 9}));
  EXPECT_EQ(LongTimerClock::Count(), 1);
  three.reset();
  EXPECT_EQ(LongTimerClock::Count(), 0);
  EXPECT_FALSE(LongTimerClock::Running());
}

TEST_F(LongTimerTest, ATimerFreedByAnotherInTheSameTickDoesNotFire) {
  auto first = std::make_unique<TMMLongTimer>();
  auto second = std::make_unique<TMMLongTimer>();
  int second_fired = 0;
  first->SetOnTimer([&](TMMLongTimer& self) {
    self.SetEnabled(false);  // once
    second.reset();
    second = std::make_unique<TMMLongTimer>();  // may well take the freed address
    second->SetOnTimer([&](TMMLongTimer&) { ++second_fired; });
  });
  second->SetOnTimer([&](TMMLongTimer&) { ++second_fired; });
  Tick();
  EXPECT_EQ(second_fired, 0);
  Tick();  // the new one counts from its own start
  EXPECT_EQ(second_fired, 1);
}

TEST_F(LongTimerTest, TheClockTicksEverySecondOnTheGuiThread) {
  TMMLongTimer timer;
  EXPECT_TRUE(LongTimerClock::Running());
  EXPECT_EQ(LongTimerClock::kTickMs, 1000);
}

TEST(LongTimerErrorTest, AThreadWithoutEventLoopHasNoTimers) {
  std::thread worker([] {
    try {
      TMMLongTimer timer;
      ADD_FAILURE() << "a long timer started without an event loop";
    } catch (const EOutOfResources& e) {
      EXPECT_STREQ(e.what(), "Not enough timers available");
    }
    EXPECT_EQ(LongTimerClock::Count(), 0);
  });
  worker.join();
}

}  // namespace
