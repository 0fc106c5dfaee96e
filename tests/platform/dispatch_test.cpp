#include "platform/dispatch.h"

#include <gtest/gtest.h>
#include <poll.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;
using platform::Dispatcher;

auto Deadline() { return std::chrono::steady_clock::now() + 10s; }

bool Readable(int fd) {
    pollfd p{fd, POLLIN, 0};
    return poll(&p, 1, 0) == 1;
}

TEST(Dispatch, SynchronizeRunsOnTheMainThreadAndReturnsAfterIt) {
    Dispatcher& main = Dispatcher::Main();
    ASSERT_TRUE(main.IsMainThread());
    std::atomic<bool> ranOnMain{false}, sawEffect{false}, done{false};
    int effect = 0;  // written on the main thread, read by the worker after Synchronize
    std::thread worker([&] {
        EXPECT_FALSE(main.IsMainThread());
        main.Synchronize([&] {
            ranOnMain = main.IsMainThread();
            effect = 42;
        });
        sawEffect = effect == 42;
        done = true;
        main.Wake();
    });
    EXPECT_TRUE(main.WaitUntil([&] { return done.load(); }, 10ms, Deadline()));
    worker.join();
    EXPECT_TRUE(ranOnMain);
    EXPECT_TRUE(sawEffect);
}

TEST(Dispatch, SynchronizeOnTheMainThreadRunsAtOnce) {
    bool ran = false;
    platform::Synchronize([&] { ran = true; });
    EXPECT_TRUE(ran);
}

TEST(Dispatch, AnExceptionReachesTheCallingThread) {
    std::atomic<bool> caught{false}, done{false};
    std::thread worker([&] {
        try {
            platform::Synchronize([] { throw std::runtime_error("from main"); });
        } catch (const std::runtime_error& e) {
            caught = std::string(e.what()) == "from main";
        }
        done = true;
    });
    EXPECT_TRUE(Dispatcher::Main().WaitUntil([&] { return done.load(); }, 5ms, Deadline()));
    worker.join();
    EXPECT_TRUE(caught);
}

TEST(Dispatch, TheDescriptorIsReadableExactlyWhileCallsArePending) {
    Dispatcher& main = Dispatcher::Main();
    main.ProcessMessages();
    EXPECT_FALSE(Readable(main.EventFd()));
    int ran = 0;
    main.Post([&] { ++ran; });
    main.Post([&] { ++ran; });
    EXPECT_TRUE(Readable(main.EventFd()));
    EXPECT_EQ(main.ProcessMessages(), 2);
    EXPECT_EQ(ran, 2);
    EXPECT_FALSE(Readable(main.EventFd()));
}

// One wake-up serves the calls that arrive while the drain runs as well, in their order.
TEST(Dispatch, ADrainAlsoServesTheCallsQueuedWhileItRuns) {
    Dispatcher& main = Dispatcher::Main();
    std::vector<int> order;  // main thread only
    std::atomic<bool> secondRan{false};
    std::thread second;
    std::thread first([&] {
        main.Synchronize([&] {
            order.push_back(1);
            second = std::thread([&] {
                main.Synchronize([&] {
                    order.push_back(2);
                    secondRan = true;
                });
            });
            // Returns once the second call is queued: the descriptor turned readable again.
            const auto until = Deadline();
            while (!Readable(main.EventFd()) && std::chrono::steady_clock::now() < until)
                std::this_thread::sleep_for(1ms);
            order.push_back(3);
        });
    });
    const auto until = Deadline();
    while (!Readable(main.EventFd()) && std::chrono::steady_clock::now() < until) std::this_thread::sleep_for(1ms);
    EXPECT_EQ(main.ProcessMessages(), 2);
    EXPECT_EQ(order, (std::vector<int>{1, 3, 2}));
    EXPECT_TRUE(secondRan);
    EXPECT_FALSE(Readable(main.EventFd()));
    main.WaitUntil([&] { return secondRan.load(); }, 1ms, Deadline());  // a failed drain must not hang the test
    first.join();
    second.join();
}

TEST(Dispatch, WaitUntilKeepsDrainingManyThreadsUntilDone) {
    constexpr int kThreads = 8, kCalls = 50;
    std::atomic<int> finished{0};
    int total = 0;  // main thread only
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < kCalls; ++i) platform::Synchronize([&] { ++total; });
            ++finished;
        });
    EXPECT_TRUE(Dispatcher::Main().WaitUntil([&] { return finished == kThreads; }, 5ms, Deadline()));
    for (auto& t : threads) t.join();
    EXPECT_EQ(total, kThreads * kCalls);
}

TEST(Dispatch, WaitUntilGivesUpAtItsDeadline) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(Dispatcher::Main().WaitUntil([] { return false; }, 5ms, start + 30ms));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 30ms);
}

TEST(Dispatch, ANestedDrainRunsCallsThatArriveMeanwhile) {
    // A call that itself waits (a stop inside an event handler) keeps serving other threads.
    std::atomic<bool> second{false}, done{false};
    std::thread worker([&] {
        platform::Synchronize([&] {
            std::thread inner([&] {
                platform::Synchronize([&] { second = true; });
            });
            Dispatcher::Main().WaitUntil([&] { return second.load(); }, 5ms, Deadline());
            inner.join();
        });
        done = true;
    });
    EXPECT_TRUE(Dispatcher::Main().WaitUntil([&] { return done.load(); }, 5ms, Deadline()));
    worker.join();
    EXPECT_TRUE(second);
}

TEST(Dispatch, TheForeignPumpRunsWithEveryDrain) {
    int pumped = 0;
    Dispatcher::Main().SetForeignPump([&] { ++pumped; });
    platform::ProcessMessages();
    platform::SleepPumping(5ms);
    Dispatcher::Main().SetForeignPump(nullptr);
    EXPECT_GE(pumped, 2);
}

// A pause of the main thread keeps handling the GUI toolkit's events throughout, not only at
// its two ends: no call arrives to wake it, yet the pump runs every few milliseconds.
TEST(Dispatch, APauseRunsTheForeignPumpThroughout) {
    int pumped = 0;
    Dispatcher::Main().SetForeignPump([&] { ++pumped; });
    platform::SleepPumping(300ms);
    Dispatcher::Main().SetForeignPump(nullptr);
    EXPECT_GE(pumped, 5);  // some thirty on a quiet machine
}

}  // namespace
