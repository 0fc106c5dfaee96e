#include "platform/message_loop.h"

#include <gtest/gtest.h>

#include <sys/epoll.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/loop_pump.h"

namespace {

using platform::MessageLoop;
using Clock = std::chrono::steady_clock;

TEST(MessageLoop, PostFromAnotherThreadWakesAWait) {
    auto& loop = MessageLoop::Current();
    // This thread's loop is shared with the tests before: a wake one of them left (a loop whose
    // descriptor was polled signals its pending items) would end the wait before the post.
    looptest::PumpPending();
    std::atomic<bool> waiting{false};
    bool ran = false;
    loop.SetForeignPump([&] { waiting.store(true); });
    std::thread poster([&, remote = loop.remote()] {
        while (!waiting.load()) std::this_thread::yield();
        remote->PostTask([&] { ran = true; });
    });
    auto start = Clock::now();
    bool work = loop.WaitForWork(10000);
    auto waited = Clock::now() - start;
    poster.join();
    loop.SetForeignPump({});
    EXPECT_TRUE(work);
    EXPECT_LT(waited, std::chrono::seconds(5));  // woken, not timed out
    looptest::PumpPending();
    EXPECT_TRUE(ran);
}

TEST(MessageLoop, TimerWaitsUntilNothingElseIsPendingAndRepeats) {
    auto& loop = MessageLoop::Current();
    std::vector<std::string> order;
    auto due = Clock::now() + std::chrono::milliseconds(2);
    platform::TimerId timer = loop.SetTimer(std::chrono::milliseconds(2), [&] { order.push_back("timer"); });
    loop.PostTask([&] {
        order.push_back("a");
        while (Clock::now() < due + std::chrono::milliseconds(1)) std::this_thread::yield();
    });
    loop.PostTask([&] { order.push_back("b"); });
    loop.PostTask([&] { order.push_back("c"); });
    ASSERT_TRUE(looptest::PumpUntil([&] { return order.size() >= 5; }));
    loop.KillTimer(timer);
    EXPECT_EQ((std::vector<std::string>{"a", "b", "c", "timer", "timer"}), order);
    looptest::PumpPending();
    EXPECT_FALSE(loop.WaitForWork(20));  // killed: no more ticks
    EXPECT_EQ(5u, order.size());
}

// Work that never runs out (a socket that is always readable) still lets a due timer run.
TEST(MessageLoop, ADueTimerRunsBetweenItemsThatNeverRunOut) {
    auto& loop = MessageLoop::Current();
    int items = 0;
    bool ticked = false;
    std::function<void()> again = [&] {
        ++items;
        if (!ticked && items < 100000) loop.PostTask(again);
    };
    const platform::TimerId timer = loop.SetTimer(std::chrono::milliseconds(1), [&] { ticked = true; });
    std::this_thread::sleep_for(std::chrono::milliseconds(5));  // the timer is due before the work starts
    loop.PostTask(again);
    ASSERT_TRUE(looptest::PumpUntil([&] { return ticked || items >= 100000; }));
    loop.KillTimer(timer);
    EXPECT_TRUE(ticked);
    EXPECT_LT(items, 100);
    looptest::PumpPending();
}

TEST(MessageLoop, TimerMayKillItselfFromItsTask) {
    auto& loop = MessageLoop::Current();
    int ticks = 0;
    platform::TimerId timer = 0;
    timer = loop.SetTimer(std::chrono::milliseconds(1), [&] {
        ++ticks;
        loop.KillTimer(timer);
    });
    ASSERT_TRUE(looptest::PumpUntil([&] { return ticks == 1; }));
    EXPECT_FALSE(loop.WaitForWork(10));
    EXPECT_EQ(1, ticks);
}

TEST(MessageLoop, QuitEndsEveryWaitAndStaysPendingForRun) {
    auto& loop = MessageLoop::Current();
    bool ran = false;
    loop.PostTask([&] { ran = true; });
    loop.PostQuit(7);
    EXPECT_EQ(MessageLoop::Step::Quit, loop.ProcessOne());
    EXPECT_EQ(MessageLoop::Step::Quit, loop.ProcessOne());
    EXPECT_TRUE(loop.WaitForWork(10000));
    EXPECT_FALSE(ran);
    EXPECT_EQ(7, loop.Run());
    EXPECT_FALSE(loop.QuitPending());
    looptest::PumpPending();
    EXPECT_TRUE(ran);  // work posted before the quit is still there afterwards
}

TEST(MessageLoop, QuitFromAnotherThreadEndsRun) {
    auto& loop = MessageLoop::Current();
    std::thread quitter([remote = loop.remote()] {
        remote->PostTask([] {});
        remote->Quit(3);
    });
    EXPECT_EQ(3, loop.Run());
    quitter.join();
}

TEST(MessageLoop, PollDescriptorIsReadableExactlyWhileThereIsWork) {
    auto& loop = MessageLoop::Current();
    looptest::PumpPending();
    EXPECT_FALSE(looptest::LoopReadable());

    std::thread([remote = loop.remote()] { remote->PostTask([] {}); }).join();
    EXPECT_TRUE(looptest::LoopReadable());
    looptest::PumpPending();
    EXPECT_FALSE(looptest::LoopReadable());

    loop.PostTask([] {});
    loop.PostTask([] {});
    EXPECT_TRUE(looptest::LoopReadable());
    EXPECT_EQ(MessageLoop::Step::Dispatched, loop.ProcessOne());
    EXPECT_TRUE(looptest::LoopReadable());  // one left
    looptest::PumpPending();
    EXPECT_FALSE(looptest::LoopReadable());

    bool ticked = false;
    platform::TimerId timer = loop.SetTimer(std::chrono::milliseconds(1), [&] { ticked = true; });
    EXPECT_TRUE(looptest::LoopReadable(5000));
    EXPECT_EQ(MessageLoop::Step::Dispatched, loop.ProcessOne());
    EXPECT_TRUE(ticked);
    loop.KillTimer(timer);
}

// A watch turned off once its readiness was reported stays silent, through a hang-up too, and
// reports again, once, when it is turned on; it never reports what it was not asked for.
TEST(MessageLoop, AWatchReportsOnlyWhileItIsOn) {
    auto& loop = MessageLoop::Current();
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    std::vector<std::uint32_t> seen;
    platform::WatchId watch = 0;
    watch = loop.Watch(ends[0], EPOLLIN, [&](std::uint32_t events) {
        seen.push_back(events);
        loop.SetWatchEvents(watch, 0);
    });
    ASSERT_EQ(write(ends[1], "x", 1), 1);
    ASSERT_TRUE(looptest::PumpUntil([&] { return !seen.empty(); }));
    close(ends[1]);  // a hang-up while the watch is off
    loop.WaitForWork(50);
    looptest::PumpPending();
    EXPECT_EQ(seen.size(), 1u);

    loop.SetWatchEvents(watch, EPOLLIN);
    loop.SetWatchEvents(watch, EPOLLIN);  // asked twice, reported once
    ASSERT_TRUE(looptest::PumpUntil([&] { return seen.size() == 2; }));
    loop.WaitForWork(50);
    looptest::PumpPending();
    EXPECT_EQ(seen.size(), 2u);
    EXPECT_TRUE(seen[1] & EPOLLIN);
    loop.Unwatch(watch);
    close(ends[0]);
}

TEST(MessageLoop, MessagesOfADestroyedTargetAreDropped) {
    auto& loop = MessageLoop::Current();
    std::vector<std::uint32_t> seen;
    platform::TargetId keep = loop.CreateTarget([&](const platform::Message& m) { seen.push_back(m.id); });
    platform::TargetId gone = 0;
    gone = loop.CreateTarget([&](const platform::Message& m) {
        seen.push_back(m.id);
        loop.DestroyTarget(gone);  // a handler may end its own target
    });
    loop.Post({gone, 1, 0, 0});
    loop.Post({gone, 2, 0, 0});
    loop.Post({keep, 3, 0, 0});
    looptest::PumpPending();
    EXPECT_EQ((std::vector<std::uint32_t>{1, 3}), seen);
    EXPECT_FALSE(loop.IsTarget(gone));
    EXPECT_TRUE(loop.IsTarget(keep));
    loop.DestroyTarget(keep);
}

TEST(MessageLoop, PostsToALoopWhoseThreadEndedAreDropped) {
    std::shared_ptr<platform::MessageLoopRemote> remote;
    std::thread([&] { remote = MessageLoop::Current().remote(); }).join();
    auto token = std::make_shared<int>(0);
    remote->PostTask([token] {});
    remote->Quit(1);
    EXPECT_EQ(1, token.use_count());  // the task was destroyed, never run
}

}  // namespace
