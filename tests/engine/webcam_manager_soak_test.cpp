// Many webcams, many fetch threads that all report through Synchronize, and repeated start all /
// stop all / destroy: must end without deadlock, double fetch, leak or data race (run under the
// sanitizers).

#include "engine/webcam.h"
#include "engine/webcam_manager.h"
#include "platform/dispatch.h"
#include "tests/engine/webcam_fixture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace enginetest {
namespace {

using namespace std::chrono_literals;

// Aborts the test program when the soak does not end in time: a deadlock shows as a failure
// with a message instead of a hang.
class Watchdog {
public:
    explicit Watchdog(std::chrono::seconds limit)
        : thread_([this, limit] {
              std::unique_lock lock(lock_);
              if (!done_signal_.wait_for(lock, limit, [this] { return done_; })) {
                  std::fprintf(stderr, "soak test did not end within %lld s: deadlock\n",
                               static_cast<long long>(limit.count()));
                  std::abort();
              }
          }) {}
    ~Watchdog() {
        {
            std::lock_guard lock(lock_);
            done_ = true;
        }
        done_signal_.notify_all();
        thread_.join();
    }

private:
    std::mutex lock_;
    std::condition_variable done_signal_;
    bool done_ = false;
    std::thread thread_;
};

class ManagerSoak : public WebcamTest {};

TEST_F(ManagerSoak, StartAllStopAllDestroyRepeated) {
    constexpr int kRounds = 50, kWebcams = 200, kThreads = 16, kTurnsPerRound = 300;
    const Watchdog watchdog(240s);
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE(round);
        MakeManager(kThreads);
        for (int i = 0; i < kWebcams; ++i) {
            char name[16];
            std::snprintf(name, sizeof name, "cam%03d", i);
            Add(name, i % 3, i % 7 == 0);  // refresh 0, 1 or 2 s; some favourites
        }
        manager_->StartAll();
        // Run until enough turns were done, moving the clock on so webcams come due again and
        // the scheduler moves them.
        const int target = probe_.turns + kTurnsPerRound;
        const auto deadline = std::chrono::steady_clock::now() + 30s;
        while (probe_.turns < target && std::chrono::steady_clock::now() < deadline) {
            clock_.AdvanceSeconds(0.1);
            platform::SleepPumping(1ms);
        }
        ASSERT_GE(probe_.turns, target) << "fetch threads stalled";
        if (round % 2 == 0) {
            manager_->StopAll();
            EXPECT_EQ(manager_->RunningCount(), 0);
            for (int i = 1; i <= manager_->Count(); ++i) EXPECT_FALSE(manager_->GetWebcam(i)->FBusy);
            EXPECT_TRUE(manager_->FQueues.NormalQueue().empty());
            EXPECT_TRUE(manager_->FQueues.FavouriteQueue().empty());
            EXPECT_TRUE(manager_->FQueues.WaitList().empty());
        }
        manager_.reset();  // odd rounds: destroyed while everything runs
    }
    EXPECT_EQ(probe_.doubleFetches, 0);
    EXPECT_EQ(probe_.turnsWithoutBusy, 0);
}

}  // namespace
}  // namespace enginetest
