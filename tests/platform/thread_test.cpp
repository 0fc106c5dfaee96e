#include "platform/dispatch.h"
#include "platform/thread.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <stdexcept>

namespace {

using namespace std::chrono_literals;

auto Deadline() { return std::chrono::steady_clock::now() + 10s; }

// A thread whose Execute is given by the test.
class TestThread : public platform::Thread {
public:
    explicit TestThread(std::function<void(TestThread&)> body, Priority priority = Priority::Normal)
        : platform::Thread(priority), body_(std::move(body)) {}
    ~TestThread() override {
        Terminate();
        WaitFor();
    }
    using platform::Thread::Doze;
    using platform::Thread::Synchronize;
    void SetResult(int value) { ReturnValue = value; }

protected:
    void Execute() override { body_(*this); }

private:
    std::function<void(TestThread&)> body_;
};

TEST(Thread, StartsOnlyAtTheFirstResume) {
    std::atomic<int> runs{0};
    TestThread thread([&](TestThread& self) {
        ++runs;
        self.SetResult(7);
    });
    EXPECT_FALSE(thread.Started());
    thread.Resume();
    thread.Resume();
    EXPECT_EQ(thread.WaitFor(), 7);
    thread.Resume();
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(thread.Finished());
}

TEST(Thread, ANeverResumedThreadIsNotWaitedFor) {
    std::atomic<bool> ran{false};
    {
        TestThread thread([&](TestThread&) { ran = true; });
        thread.Terminate();
        EXPECT_EQ(thread.WaitFor(), 0);
    }
    EXPECT_FALSE(ran);
}

TEST(Thread, TerminateAndWakeUpEndADozeEarly) {
    std::atomic<int> wakes{0};
    std::atomic<bool> returnedFalse{false};
    TestThread thread([&](TestThread& self) {
        while (self.Doze(10s)) ++wakes;  // a wake-up returns true, termination false
        returnedFalse = true;
    });
    thread.Resume();
    thread.WakeUp();
    ASSERT_TRUE(platform::Dispatcher::Main().WaitUntil([&] { return wakes >= 1; }, 1ms, Deadline()));
    const auto start = std::chrono::steady_clock::now();
    thread.Terminate();
    thread.WaitFor();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
    EXPECT_TRUE(returnedFalse);
}

TEST(Thread, WaitForOnTheMainThreadServesTheThreadsSynchronize) {
    int calls = 0;  // main thread only
    TestThread thread([&](TestThread& self) {
        for (int i = 0; i < 100; ++i) self.Synchronize([&] { ++calls; });
    });
    thread.Resume();
    thread.WaitFor();
    EXPECT_EQ(calls, 100);
}

TEST(Thread, OnTerminateRunsOnTheMainThreadBeforeWaitForReturns) {
    bool onMain = false, ran = false;
    TestThread thread([](TestThread&) {});
    thread.OnTerminate = [&] {
        ran = true;
        onMain = platform::IsMainThread();
    };
    thread.Resume();
    thread.WaitFor();
    EXPECT_TRUE(ran);
    EXPECT_TRUE(onMain);
}

TEST(Thread, OnTerminateMayFreeTheEndedThread) {
    bool freed = false;
    auto* thread = new TestThread([](TestThread&) {});
    thread->OnTerminate = [&] {
        delete thread;
        freed = true;
    };
    thread->Resume();
    EXPECT_TRUE(platform::Dispatcher::Main().WaitUntil([&] { return freed; }, 1ms, Deadline()));
}

TEST(Thread, AFailingExecuteEndsTheThread) {
    TestThread thread([](TestThread&) { throw std::runtime_error("boom"); });
    thread.Resume();
    thread.WaitFor();
    EXPECT_TRUE(thread.Finished());
}

TEST(Thread, LowPrioritiesRaiseTheNiceValue) {
    std::atomic<int> nice{-100};
    TestThread thread(
        [&](TestThread&) {
            errno = 0;
            nice = getpriority(PRIO_PROCESS, static_cast<id_t>(gettid()));
        },
        platform::Thread::Priority::Lowest);
    const int before = getpriority(PRIO_PROCESS, 0);
    thread.Resume();
    thread.WaitFor();
    EXPECT_GT(nice.load(), before);
}

}  // namespace
