// Many webcams, many fetch threads that all report through Synchronize, and repeated start all /
// stop all / destroy: must end without deadlock, double fetch, leak or data race (run under the
// sanitizers).

#include "engine/webcam.h"
#include "engine/webcam_manager.h"
#include "platform/dispatch.h"
#include "tests/engine/webcam_fixture.h"
#include "tests/support/watchdog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace enginetest {
namespace {

using namespace std::chrono_literals;

class ManagerSoak : public WebcamTest {};

TEST_F(ManagerSoak, StartAllStopAllDestroyRepeated) {
    constexpr int kRounds = 50, kWebcams = 200, kThreads = 16, kTurnsPerRound = 300;
    const testsupport::Watchdog watchdog(240s);
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

namespace enginetest {
namespace {

// Stopping and starting webcams again while fetch threads are finishing their turns: a webcam is
// never in two lists, never queued while held, never fetched twice at once.
TEST_F(ManagerSoak, RapidStartStopNeverQueuesAWebcamTwice) {
    using engine::twebcam;
    const testsupport::Watchdog watchdog(120s);
    MakeManager(4);
    std::vector<twebcam*> cams;
    for (int i = 0; i < 8; ++i) cams.push_back(&Add("cam" + std::to_string(i), 0, i % 3 == 0));
    manager_->StartAll();
    // 3000 steps at least, and on until the fetch threads have done their share of turns: on a
    // loaded machine this thread can run through all its steps before a fetch thread gets the
    // processor at all, and then nothing was tested.
    constexpr int kSteps = 3000, kTurns = 100;
    const auto deadline = std::chrono::steady_clock::now() + 60s;
    const auto more = [&](int step) {
        return step < kSteps || (probe_.turns <= kTurns && std::chrono::steady_clock::now() < deadline);
    };
    for (int step = 0; more(step); ++step) {
        // Restarts without draining in between: a thread that ended its turn is then blocked in
        // its last call to this thread, the moment a stop must still wait for it.
        twebcam& w = *cams[static_cast<std::size_t>(step * 5 % 8)];
        w.Stop();
        if (step % 4 != 3) w.Start();
        if (step % 7 == 0) clock_.AdvanceSeconds(0.01);
        if (step % 8 == 7) platform::ProcessMessages();
        // The queues first, then the wait list: a move between them is then never seen twice.
        std::vector<twebcam*> listed = manager_->FQueues.NormalQueue();
        for (twebcam* f : manager_->FQueues.FavouriteQueue()) listed.push_back(f);
        for (twebcam* f : manager_->FQueues.WaitList()) listed.push_back(f);
        for (twebcam* c : cams) {
            const auto times = std::count(listed.begin(), listed.end(), c);
            ASSERT_LE(times, c->FRunning ? 1 : 0) << "step " << step;
        }
    }
    manager_->StopAll();
    EXPECT_EQ(probe_.doubleFetches, 0);
    EXPECT_EQ(probe_.turnsWithoutBusy, 0);
    EXPECT_GT(probe_.turns, kTurns) << "fetch threads stalled";
}

}  // namespace
}  // namespace enginetest
