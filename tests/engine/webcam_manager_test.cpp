#include "engine/categories.h"
#include "engine/messages.h"
#include "engine/timer_thread.h"
#include "engine/webcam_manager.h"
#include "platform/dispatch.h"
#include "tests/engine/webcam_fixture.h"

#include <gtest/gtest.h>

#include <sys/types.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>
#include <thread>

namespace enginetest {
namespace {

using namespace std::chrono_literals;
using engine::twebcam;
using List = std::vector<twebcam*>;

auto Deadline() { return std::chrono::steady_clock::now() + 10s; }

// Whether the thread tid of this process is asleep (blocked on a lock, say) rather than running.
bool ThreadSleeps(pid_t tid) {
    std::ifstream stat("/proc/self/task/" + std::to_string(tid) + "/stat");
    std::string line;
    if (!std::getline(stat, line)) return false;
    const std::size_t name = line.rfind(')');  // the state follows the parenthesised name
    return name != std::string::npos && line.compare(name + 1, 2, " S") == 0;
}

class Manager : public WebcamTest {};

TEST_F(Manager, ThreadCountIsClampedAndSetsTheNormalFirstThreads) {
    struct Case {
        int asked, threads, normalFirst;
    };
    for (const Case& c : {Case{2, 4, 2}, Case{4, 4, 2}, Case{29, 29, 2}, Case{30, 30, 3}, Case{39, 39, 3},
                          Case{64, 64, 6}, Case{100, 64, 6}}) {
        MakeManager(c.asked);
        EXPECT_EQ(manager_->FThreadCount, c.threads) << c.asked;
        EXPECT_EQ(manager_->FNormalFirst, c.normalFirst) << c.asked;
        EXPECT_EQ(static_cast<int>(manager_->FThreads.size()), c.threads);
        EXPECT_FALSE(manager_->FThreads.back()->Started());
        EXPECT_TRUE(engine::CategoryManager);
        manager_.reset();
        EXPECT_FALSE(engine::CategoryManager);
    }
}

TEST_F(Manager, EachThreadTakesFromItsPreferredQueue) {
    for (int asked : {4, 30, 100}) {
        MakeManager(asked);
        twebcam& normal = Add("normal");
        twebcam& favourite = Add("favourite", 60, true);
        for (int index = 1; index <= manager_->FThreadCount; ++index) {
            normal.Start();
            favourite.Start();
            twebcam* taken = nullptr;
            ASSERT_TRUE(manager_->GetNextWebcam(index, taken));
            EXPECT_EQ(taken, index <= manager_->FNormalFirst ? &normal : &favourite) << asked << " " << index;
            EXPECT_EQ(manager_->FThreads[static_cast<std::size_t>(index - 1)]->FWebcam.load(), taken);
            taken->FBusy = false;
            normal.Stop();
            favourite.Stop();
        }
        // With one queue empty every thread serves the other.
        favourite.Start();
        twebcam* taken = nullptr;
        ASSERT_TRUE(manager_->GetNextWebcam(1, taken));
        EXPECT_EQ(taken, &favourite);
        taken->FBusy = false;
        EXPECT_FALSE(manager_->GetNextWebcam(manager_->FThreadCount, taken));
        manager_.reset();
    }
}

TEST_F(Manager, QueueingWakesTheFirstIdleThreadOnly) {
    MakeManager();
    twebcam& w = Add("cam");
    w.Start();  // no thread idle: it stays queued until a thread asks
    EXPECT_EQ(manager_->FQueues.NormalQueue(), List{&w});
    w.Stop();
    manager_->FThreads[1]->FIdle = true;
    manager_->FThreads[2]->FIdle = true;
    w.Start();
    EXPECT_FALSE(manager_->FThreads[1]->FIdle);
    EXPECT_TRUE(manager_->FThreads[2]->FIdle);
}

TEST_F(Manager, AbortFetchInterruptsOnlyTheThreadHoldingTheWebcam) {
    MakeManager();
    twebcam& w = Add("cam");
    w.Start();
    twebcam* taken = nullptr;
    ASSERT_TRUE(manager_->GetNextWebcam(3, taken));
    manager_->AbortFetch(w);
    EXPECT_TRUE(w.FStopping);
    EXPECT_EQ(probe_.interrupts, 1);
    w.FBusy = false;
}

// An interrupt meant for one webcam never lands on the request of the next webcam its thread
// takes: while the holder is checked and interrupted, no thread can take a webcam.
TEST_F(Manager, NoWebcamIsTakenWhileAFetchIsAborted) {
    MakeManager();
    twebcam& held = Add("held");
    twebcam& next = Add("next");
    held.Start();
    twebcam* taken = nullptr;
    ASSERT_TRUE(manager_->GetNextWebcam(1, taken));
    next.Start();
    std::atomic<twebcam*> takenAfter{nullptr};
    std::atomic<pid_t> takerId{0};
    bool takenDuringInterrupt = true;
    bool takerWaited = false;
    std::thread taker;
    probe_.duringInterrupt = [&] {
        // Thread 1 lets go of "held" and asks for its next webcam while the interrupt runs: it
        // either takes one or sleeps on the queues' lock, the one wait on its way.
        taker = std::thread([&] {
            takerId = gettid();
            twebcam* w = nullptr;
            if (manager_->GetNextWebcam(1, w)) takenAfter = w;
        });
        const auto deadline = Deadline();
        while (takenAfter == nullptr && !(takerId != 0 && ThreadSleeps(takerId)) &&
               std::chrono::steady_clock::now() < deadline)
            std::this_thread::yield();
        takenDuringInterrupt = takenAfter != nullptr;
        takerWaited = takerId != 0 && ThreadSleeps(takerId);
    };
    manager_->AbortFetch(held);
    taker.join();
    EXPECT_FALSE(takenDuringInterrupt);
    EXPECT_TRUE(takerWaited);
    EXPECT_EQ(takenAfter, &next);
    held.FBusy = false;
    next.FBusy = false;
}

TEST_F(Manager, RangeErrorsCarryMessage65178) {
    MakeManager();
    Add("cam");
    const std::string text = engine::LoadMessage(engine::kMsgOutOfRange);
    ASSERT_EQ(text, "webcam hors balayage");
    struct Case {
        const char* what;
        std::function<void()> call;
    };
    const std::vector<Case> cases = {
        {"StartWebcam(0)", [&] { manager_->StartWebcam(0); }},
        {"StopWebcam(2)", [&] { manager_->StopWebcam(2); }},
        {"PauseWebcam(-1)", [&] { manager_->PauseWebcam(-1); }},
    };
    for (const Case& c : cases) {
        try {
            c.call();
            ADD_FAILURE() << c.what << " did not raise";
        } catch (const std::out_of_range& e) {
            EXPECT_EQ(e.what(), text) << c.what;
        }
    }
    EXPECT_TRUE(manager_->ThreadsStarted());  // StartWebcam resumed the threads before checking
    EXPECT_TRUE(manager_->FTimerThread->Started());
    EXPECT_TRUE(manager_->FThreads.back()->Started());
}

TEST_F(Manager, SchedulerMovesOnlyWebcamsWhoseDueTimeHasStrictlyPassedInDueOrder) {
    MakeManager();
    List cams;
    for (double due : {3.0, 1.0, 2.0, 2.0}) {
        twebcam& w = Add("cam" + std::to_string(cams.size()));
        w.FRunning = true;
        w.FDueTime = platform::MonotonicNow() + platform::DaysFromSeconds(due);
        manager_->AddToWaitList(w);
        cams.push_back(&w);
    }
    engine::ttimerthread& scheduler = *manager_->FTimerThread;
    clock_.AdvanceSeconds(2);  // cam1 is past due; cam2 and cam3 are due exactly now
    scheduler.Pass();
    EXPECT_EQ(manager_->FQueues.NormalQueue(), List{cams[1]});
    EXPECT_TRUE(statuses_.empty());  // the reports are queued for the main thread's next drain
    platform::ProcessMessages();
    EXPECT_EQ(statuses_, (std::vector<std::pair<int, int>>{{1, engine::kStatusQueued}}));
    clock_.AdvanceSeconds(5);
    scheduler.Pass();
    cams[2]->FStatus = engine::kStatusHeader;  // the report tells the status as it is when it runs
    platform::ProcessMessages();
    EXPECT_EQ(statuses_.at(1), (std::pair<int, int>{2, engine::kStatusHeader}));
    EXPECT_EQ(manager_->FQueues.NormalQueue(), (List{cams[1], cams[2], cams[3], cams[0]}));
    EXPECT_TRUE(manager_->FQueues.WaitList().empty());
    EXPECT_EQ(statuses_.size(), 4u);
}

// The scheduler does not wait for its reports, yet a fetch thread that takes a webcam the
// moment it is queued never gets its own call to the main thread ahead of the scheduler's
// report on that webcam.
TEST_F(Manager, TheSchedulersReportComesBeforeTheCallsOfTheThreadThatTakesTheWebcam) {
    MakeManager(8);
    constexpr int kWebcams = 1000;
    constexpr int kTakers = 6;
    List cams;
    for (int i = 0; i < kWebcams; ++i) {
        twebcam& w = Add("cam" + std::to_string(i));
        w.FRunning = true;
        w.FDueTime = platform::MonotonicNow() + platform::DaysFromSeconds(1);
        manager_->AddToWaitList(w);
        cams.push_back(&w);
    }
    // Main thread only: the order in which the calls about each webcam ran.
    std::vector<std::vector<char>> order(kWebcams);
    manager_->OnStatusChange = [&](int index, int) { order.at(static_cast<std::size_t>(index)).push_back('S'); };
    std::atomic<int> taken{0};
    std::atomic<bool> done{false};
    std::vector<std::thread> takers;
    for (int t = 1; t <= kTakers; ++t) {
        takers.emplace_back([&, t] {
            while (!done) {
                twebcam* w = nullptr;
                if (!manager_->GetNextWebcam(t, w)) continue;
                const auto index = static_cast<std::size_t>(w->FRecordNo);
                w->FStatus = engine::kStatusHeader;  // the thread's own status, set at once
                platform::Synchronize([&, index] { order.at(index).push_back('F'); });
                w->FBusy = false;
                ++taken;
            }
        });
    }
    clock_.AdvanceSeconds(2);
    std::thread scheduler([&] { manager_->FTimerThread->Pass(); });
    const bool allTaken = platform::Dispatcher::Main().WaitUntil([&] { return taken == kWebcams; }, 5ms, Deadline());
    done = true;
    scheduler.join();
    for (auto& taker : takers) taker.join();
    platform::ProcessMessages();
    ASSERT_TRUE(allTaken);
    for (int i = 0; i < kWebcams; ++i)
        EXPECT_EQ(order[static_cast<std::size_t>(i)], (std::vector<char>{'S', 'F'})) << "webcam " << i;
    manager_.reset();  // its stops report to the callback above, which uses this test's locals
}

// A report still queued when the manager is gone does nothing: it never touches the freed
// manager or webcam (run under AddressSanitizer), and a report due once destruction has begun
// is not delivered.
TEST_F(Manager, AReportStillQueuedWhenTheManagerIsFreedIsHarmless) {
    MakeManager();
    twebcam& first = Add("first");
    twebcam& second = Add("second");
    for (twebcam* w : {&first, &second}) {
        w->FRunning = true;
        w->FDueTime = platform::MonotonicNow() - platform::DaysFromSeconds(1);
        manager_->AddToWaitList(*w);
    }
    manager_->FTimerThread->Pass();  // two reports queued, run by the destructor's own drain
    engine::twebcammanager* manager = manager_.get();  // reset() lets go of the pointer first
    bool destroying = false;
    bool movedLate = false;
    manager_->OnStatusChange = [&](int index, int status) {
        statuses_.emplace_back(index, status);
        // Destruction stops "first" after its last drain: the scheduler moves "second" now, so
        // that its report is still queued when the manager is freed.
        if (!destroying || index != 0 || status != engine::kStatusStopped || movedLate) return;
        movedLate = true;
        second.FStopping = false;
        second.FDueTime = platform::MonotonicNow() - platform::DaysFromSeconds(1);
        manager->AddToWaitList(second);
        manager->FTimerThread->Pass();
    };
    destroying = true;
    manager_.reset();
    ASSERT_TRUE(movedLate);
    EXPECT_GE(platform::ProcessMessages(), 1);  // the late report ran, after the manager was freed
    for (const auto& [index, status] : statuses_) EXPECT_NE(status, engine::kStatusQueued) << index;
}

TEST_F(Manager, AStoppedHeadEndsThePassAndTheRestMoveNextTime) {
    MakeManager();
    List cams;
    for (double due : {1.0, 2.0}) {
        twebcam& w = Add("cam" + std::to_string(cams.size()));
        w.FRunning = true;
        w.FDueTime = platform::MonotonicNow() + platform::DaysFromSeconds(due);
        manager_->AddToWaitList(w);
        cams.push_back(&w);
    }
    cams[0]->FRunning = false;
    clock_.AdvanceSeconds(5);
    manager_->FTimerThread->Pass();
    EXPECT_TRUE(manager_->FQueues.NormalQueue().empty());
    manager_->FTimerThread->Pass();
    EXPECT_EQ(manager_->FQueues.NormalQueue(), List{cams[1]});
}

TEST_F(Manager, RunningSchedulerQueuesDueWebcams) {
    MakeManager();
    twebcam& w = Add("cam");
    w.FRunning = true;
    w.FDueTime = platform::MonotonicNow() + platform::DaysFromSeconds(1);
    manager_->AddToWaitList(w);
    manager_->FTimerThread->Resume();
    clock_.AdvanceSeconds(2);
    EXPECT_TRUE(platform::Dispatcher::Main().WaitUntil([&] { return !statuses_.empty(); }, 5ms, Deadline()));
    EXPECT_EQ(manager_->FQueues.NormalQueue(), List{&w});
}

// Idle fetch threads sleep without a time limit: only the wake-up of a queued webcam gets one
// of them going.
TEST_F(Manager, AQueuedWebcamWakesAnIdleThread) {
    MakeManager(16);
    manager_->ResumeThreads();
    const auto allIdle = [&] {
        for (const auto& thread : manager_->FThreads)
            if (!thread->FIdle) return false;
        return true;
    };
    ASSERT_TRUE(platform::Dispatcher::Main().WaitUntil(allIdle, 5ms, Deadline()));
    for (int round = 1; round <= 3; ++round) {
        twebcam& w = Add("cam" + std::to_string(round));
        w.Start();
        EXPECT_TRUE(platform::Dispatcher::Main().WaitUntil([&] { return probe_.turns >= round; }, 5ms, Deadline()))
            << round;
    }
}

// The scheduler sleeping towards a head due in an hour is woken by a webcam due at once.
TEST_F(Manager, SchedulerWakesForAnEarlierHead) {
    MakeManager();
    twebcam& later = Add("later");
    later.FRunning = true;
    later.FDueTime = platform::MonotonicNow() + platform::DaysFromSeconds(3600);
    manager_->AddToWaitList(later);
    manager_->FTimerThread->Resume();
    platform::SleepPumping(20ms);  // let it go to sleep
    twebcam& now = Add("now");
    now.FRunning = true;
    now.FDueTime = platform::MonotonicNow() - platform::DaysFromSeconds(1);
    manager_->AddToWaitList(now);
    EXPECT_TRUE(platform::Dispatcher::Main().WaitUntil([&] { return !statuses_.empty(); }, 5ms, Deadline()));
    EXPECT_EQ(manager_->FQueues.NormalQueue(), List{&now});
    EXPECT_EQ(manager_->FQueues.WaitList(), List{&later});
}

TEST_F(Manager, DisplayMap) {
    MakeManager();
    for (const char* name : {"a", "b", "c"}) Add(name);
    EXPECT_EQ(manager_->DisplayedCount(), 3);  // each starts in the cell of its own position
    manager_->ClearDisplaySlots();
    EXPECT_EQ(manager_->DisplayedCount(), 0);
    EXPECT_EQ(manager_->GetCellWebcam(0), 0);
    manager_->SetDisplaySlot(3, 0);  // webcam 3 shown in cell 0
    EXPECT_EQ(manager_->GetWebcam(3)->FDisplayCell, 0);
    EXPECT_EQ(manager_->GetCellWebcam(0), 3);
    EXPECT_EQ(manager_->GetCellWebcam(1), 0);
    EXPECT_EQ(manager_->GetCellWebcam(3), -1);
    EXPECT_EQ(manager_->GetCellWebcam(-1), -1);
    EXPECT_EQ(manager_->DisplayedCount(), 1);
}

TEST_F(Manager, DisplayMapPassesOverSlotsFreedBeforeTheReload) {
    MakeManager();
    for (const char* name : {"a", "b", "c"}) Add(name);
    manager_->FreeWebcam(0);
    manager_->ClearDisplaySlots();
    manager_->SetDisplaySlot(1, 2);  // a freed webcam, shown nowhere
    manager_->SetDisplaySlot(3, 0);  // cell 0's slot is empty: nothing to hold the mapping
    manager_->SetDisplaySlot(2, 1);
    EXPECT_EQ(manager_->GetWebcam(3)->FDisplayCell, 0);
    EXPECT_EQ(manager_->GetCellWebcam(0), 0);
    EXPECT_EQ(manager_->GetCellWebcam(1), 2);
    EXPECT_EQ(manager_->DisplayedCount(), 2);
}

// The count the grid asks for at every cell is kept, not counted: every change of the map moves it.
TEST_F(Manager, DisplayedCountFollowsEveryChangeOfTheMap) {
    MakeManager();
    for (const char* name : {"a", "b", "c", "d"}) Add(name);
    struct Step {
        const char* what;
        std::function<void()> change;
        int displayed;
    };
    const Step steps[] = {
        {"each in its own cell", [] {}, 4},
        {"a moved to another cell", [&] { manager_->SetDisplaySlot(1, 3); }, 4},
        {"b hidden", [&] { manager_->SetDisplaySlot(2, -1); }, 3},
        {"b hidden again", [&] { manager_->SetDisplaySlot(2, -1); }, 3},
        {"c freed", [&] { manager_->FreeWebcam(2); }, 2},
        {"b hidden and freed", [&] { manager_->FreeWebcam(1); }, 2},
        {"map cleared", [&] { manager_->ClearDisplaySlots(); }, 0},
        {"d shown", [&] { manager_->SetDisplaySlot(4, 0); }, 1},
        {"e added", [&] { Add("e"); }, 2},
        {"all cleared", [&] { manager_->Clear(); }, 0},
    };
    for (const Step& step : steps) {
        step.change();
        EXPECT_EQ(manager_->DisplayedCount(), step.displayed) << step.what;
    }
}

TEST_F(Manager, StatusChangedStoresAndReports) {
    MakeManager();
    Add("a");
    Add("b");
    manager_->StatusChanged(1, engine::kStatusError);
    EXPECT_EQ(manager_->GetWebcam(2)->FStatus, engine::kStatusError);
    EXPECT_EQ(statuses_, (std::vector<std::pair<int, int>>{{1, engine::kStatusError}}));
}

TEST_F(Manager, StartsAndStopsBySelectionAndFavourites) {
    MakeManager();
    twebcam& a = Add("a");
    twebcam& b = Add("b", 60, true);
    twebcam& c = Add("c");
    a.FSelected = c.FSelected = true;
    manager_->StartSelected();
    EXPECT_TRUE(a.FRunning && c.FRunning && !b.FRunning);
    manager_->StartFavourites();
    EXPECT_TRUE(b.FRunning);
    EXPECT_EQ(manager_->RunningCount(), 3);
    manager_->StopSelected();
    EXPECT_EQ(manager_->RunningCount(), 1);
    EXPECT_TRUE(b.FRunning);
    manager_->StopAll();
    EXPECT_EQ(manager_->RunningCount(), 0);
    manager_->StartAll();
    EXPECT_EQ(manager_->RunningCount(), 3);
}

// The count is kept by the run flags: it follows every way a webcam starts, stops or goes away.
TEST_F(Manager, RunningCountFollowsEveryChangeOfARunFlag) {
    MakeManager();
    twebcam& a = Add("a");
    twebcam& b = Add("b");
    twebcam& c = Add("c");
    c.SetEnabled(false);
    const auto scanned = [&] {
        int n = 0;
        for (int i = 1; i <= manager_->Count(); ++i)
            if (const twebcam* w = manager_->GetWebcam(i); w && w->FRunning) ++n;
        return n;
    };
    struct Step {
        const char* what;
        std::function<void()> act;
        int running;
    };
    const Step steps[] = {
        {"start a", [&] { a.Start(); }, 1},
        {"start a again", [&] { a.Start(); }, 1},
        {"start the disabled c", [&] { c.Start(); }, 1},
        {"start b", [&] { manager_->StartWebcam(2); }, 2},
        {"pause b", [&] { b.Pause(); }, 2},
        {"stop b", [&] { b.Stop(); }, 1},
        {"stop b again", [&] { b.Stop(); }, 1},
        {"start all", [&] { manager_->StartAll(); }, 2},
        {"delete the running a", [&] { manager_->DeleteWebcam(1); }, 1},
        {"stop all", [&] { manager_->StopAll(); }, 0},
    };
    for (const Step& step : steps) {
        step.act();
        EXPECT_EQ(manager_->RunningCount(), step.running) << step.what;
        EXPECT_EQ(manager_->RunningCount(), scanned()) << step.what;
    }
}

TEST_F(Manager, FetchThreadsRunTurnsThatRescheduleTheWebcam) {
    MakeManager();
    twebcam& w = Add("cam", 0);
    int pictures = 0;
    manager_->OnNewPicture = [&](int index, const std::string& file, const std::string*, std::uint8_t kind,
                                 engine::twebcampicture* picture, int) {
        EXPECT_EQ(index, 0);
        EXPECT_EQ(file, "");
        EXPECT_EQ(kind, engine::kPictureNoTest);
        EXPECT_NE(picture, nullptr);
        ++pictures;
    };
    manager_->StartWebcam(1);
    // Refresh 0 on a clock that stands still: due == now, so the webcam waits; moving the clock
    // on lets the scheduler queue it again.
    ASSERT_TRUE(platform::Dispatcher::Main().WaitUntil([&] { return pictures >= 1; }, 1ms, Deadline()));
    ASSERT_TRUE(platform::Dispatcher::Main().WaitUntil(
        [&] { return manager_->FQueues.WaitList() == List{&w}; }, 1ms, Deadline()));
    clock_.AdvanceSeconds(1);
    ASSERT_TRUE(platform::Dispatcher::Main().WaitUntil([&] { return pictures >= 2; }, 1ms, Deadline()));
    EXPECT_TRUE(w.HasImage());
    EXPECT_EQ(*w.FPicture, PictureBytes(10, 20, 0));
    manager_->StopAll();
    EXPECT_FALSE(w.FBusy);
    EXPECT_EQ(probe_.doubleFetches, 0);
    EXPECT_EQ(probe_.turnsWithoutBusy, 0);
}

TEST_F(Manager, CountThreadStates) {
    MakeManager();
    manager_->FThreads[0]->FState = 1;
    manager_->FThreads[1]->FState = 2;
    manager_->FThreads[2]->FState = 2;
    int header = -1, picture = -1;
    manager_->CountThreadStates(header, picture);
    EXPECT_EQ(header, 1);
    EXPECT_EQ(picture, 2);
}

}  // namespace
}  // namespace enginetest
