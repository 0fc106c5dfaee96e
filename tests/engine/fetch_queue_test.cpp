#include "engine/fetch_queue.h"
#include "tests/engine/webcam_fixture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>

namespace enginetest {
namespace {

using engine::twebcam;
using engine::twebcamqueues;
using List = std::vector<twebcam*>;

class FetchQueue : public WebcamTest {
protected:
    void SetUp() override {
        WebcamTest::SetUp();
        MakeManager();
        for (const char* name : {"a", "b", "c"}) normal_.push_back(&Run(Add(name)));
        for (const char* name : {"fa", "fb"}) favourite_.push_back(&Run(Add(name, 60, true)));
    }
    static twebcam& Run(twebcam& w) {
        w.FRunning = true;
        return w;
    }
    void WaitAt(twebcam& w, double secondsFromNow) {
        w.FDueTime = platform::MonotonicNow() + platform::DaysFromSeconds(secondsFromNow);
        queues_.AddToWaitList(w);
    }

    twebcamqueues queues_;
    List normal_, favourite_;
};

TEST_F(FetchQueue, QueuesAreFirstInFirstOutByFavouriteFlag) {
    for (twebcam* w : {normal_[1], favourite_[0], normal_[0], favourite_[1], normal_[2]}) EXPECT_TRUE(queues_.Queue(*w));
    EXPECT_EQ(queues_.NormalQueue(), (List{normal_[1], normal_[0], normal_[2]}));
    EXPECT_EQ(queues_.FavouriteQueue(), (List{favourite_[0], favourite_[1]}));
    EXPECT_EQ(queues_.QueuedCount(), 5);
    queues_.Unqueue(*normal_[0]);
    EXPECT_EQ(queues_.NormalQueue(), (List{normal_[1], normal_[2]}));
    EXPECT_EQ(queues_.QueuedCount(), 4);
}

TEST_F(FetchQueue, TakeNextPrefersOneQueueAndFallsBackToTheOther) {
    for (twebcam* w : {normal_[0], normal_[1], favourite_[0]}) queues_.Queue(*w);
    std::atomic<twebcam*> holder{nullptr};
    EXPECT_EQ(queues_.TakeNext(false, &holder), favourite_[0]);
    EXPECT_EQ(holder.load(), favourite_[0]);
    EXPECT_TRUE(favourite_[0]->FBusy);
    EXPECT_EQ(queues_.TakeNext(false, nullptr), normal_[0]);  // no favourite left
    EXPECT_EQ(queues_.TakeNext(true, nullptr), normal_[1]);
    EXPECT_EQ(queues_.TakeNext(true, &holder), nullptr);
    EXPECT_EQ(holder.load(), favourite_[0]);  // untouched when nothing was taken
    for (twebcam* w : {normal_[0], normal_[1], favourite_[0]}) w->FBusy = false;  // the turns end
}

TEST_F(FetchQueue, StoppedOrStoppingWebcamsAreNeverQueued) {
    normal_[0]->FRunning = false;
    normal_[1]->FStopping = true;
    EXPECT_FALSE(queues_.Queue(*normal_[0]));
    EXPECT_FALSE(queues_.Queue(*normal_[1]));
    EXPECT_TRUE(queues_.NormalQueue().empty());
}

TEST_F(FetchQueue, WaitListIsInDueOrderWithTiesInArrivalOrder) {
    WaitAt(*normal_[0], 30);
    WaitAt(*normal_[1], 10);
    WaitAt(*normal_[2], 30);
    WaitAt(*favourite_[0], 20);
    EXPECT_EQ(queues_.WaitList(), (List{normal_[1], favourite_[0], normal_[0], normal_[2]}));
    EXPECT_EQ(queues_.WaitingCount(), 4);
    queues_.RemoveFromWaitList(*favourite_[0]);
    EXPECT_EQ(queues_.WaitList(), (List{normal_[1], normal_[0], normal_[2]}));
    EXPECT_EQ(queues_.WaitingCount(), 3);
}

TEST_F(FetchQueue, OnlyHeadsWhoseDueTimeHasStrictlyPassedMove) {
    WaitAt(*normal_[0], 0);
    WaitAt(*favourite_[0], 1);
    twebcam* moved = nullptr;
    EXPECT_EQ(queues_.MoveDueHead(platform::MonotonicNow(), moved), twebcamqueues::Step::NotDue);  // due == now
    clock_.AdvanceSeconds(0.001);
    EXPECT_EQ(queues_.MoveDueHead(platform::MonotonicNow(), moved), twebcamqueues::Step::Moved);
    EXPECT_EQ(moved, normal_[0]);
    EXPECT_EQ(normal_[0]->FStatus, engine::kStatusQueued);
    EXPECT_EQ(queues_.NormalQueue(), List{normal_[0]});
    EXPECT_EQ(queues_.MoveDueHead(platform::MonotonicNow(), moved), twebcamqueues::Step::NotDue);
    EXPECT_EQ(queues_.WaitList(), List{favourite_[0]});
}

// A webcam paused after a failed turn leaves the list at the pause's end: into its queue when
// its own due time has passed by then, else back into the list at that time with status 5.
TEST_F(FetchQueue, APausedWebcamGoesOnWhenDueOrWaitsOnForItsDueTime) {
    const platform::TDateTime now = platform::MonotonicNow();
    normal_[0]->FDueTime = now;                                   // refresh 0: due at once
    normal_[1]->FDueTime = now + platform::DaysFromSeconds(60);   // due in a minute
    for (twebcam* w : {normal_[0], normal_[1]}) {
        w->FStatus = engine::kStatusError;
        queues_.AddToWaitList(*w, now + platform::DaysFromSeconds(2));
    }
    std::vector<std::pair<twebcam*, int>> reports;
    const auto report = [&](twebcam& w) { reports.emplace_back(&w, w.FStatus.load()); };
    twebcam* moved = nullptr;
    clock_.AdvanceSeconds(1.9);
    EXPECT_EQ(queues_.MoveDueHead(platform::MonotonicNow(), moved, report), twebcamqueues::Step::NotDue);
    EXPECT_EQ(normal_[1]->FStatus, engine::kStatusError);  // the failure shows through the pause
    clock_.AdvanceSeconds(0.2);
    EXPECT_EQ(queues_.MoveDueHead(platform::MonotonicNow(), moved, report), twebcamqueues::Step::Moved);
    EXPECT_EQ(moved, normal_[0]);
    EXPECT_EQ(queues_.MoveDueHead(platform::MonotonicNow(), moved, report), twebcamqueues::Step::Waiting);
    EXPECT_EQ(moved, normal_[1]);
    EXPECT_EQ(reports, (std::vector<std::pair<twebcam*, int>>{{normal_[0], engine::kStatusQueued},
                                                              {normal_[1], engine::kStatusWaiting}}));
    EXPECT_EQ(queues_.NormalQueue(), List{normal_[0]});
    EXPECT_EQ(queues_.WaitList(), List{normal_[1]});
    EXPECT_EQ(queues_.MoveDueHead(platform::MonotonicNow(), moved, report), twebcamqueues::Step::NotDue);
    clock_.AdvanceSeconds(60);
    EXPECT_EQ(queues_.MoveDueHead(platform::MonotonicNow(), moved, report), twebcamqueues::Step::Moved);
    EXPECT_EQ(queues_.NormalQueue(), (List{normal_[0], normal_[1]}));
}

TEST_F(FetchQueue, AStoppedHeadIsDroppedAndEndsThePass) {
    WaitAt(*normal_[0], 1);
    WaitAt(*normal_[1], 2);
    normal_[0]->FRunning = false;
    clock_.AdvanceSeconds(5);
    twebcam* moved = nullptr;
    EXPECT_EQ(queues_.MoveDueHead(platform::MonotonicNow(), moved), twebcamqueues::Step::Dropped);
    EXPECT_EQ(queues_.WaitList(), List{normal_[1]});
    EXPECT_TRUE(queues_.NormalQueue().empty());
}

// A thread's idle flag goes up in the same locked step that found nothing, and each webcam
// queued runs the wake-up under that lock; a webcam that becomes the head of the wait list wakes
// the scheduler, one that waits behind the head does not.
TEST_F(FetchQueue, WakeUpsForQueuedWebcamsAndNewWaitListHeads) {
    int queued = 0, newHeads = 0;
    std::atomic<bool> idle{false};
    queues_.SetWakeUps([&] { ++queued; }, [&] { ++newHeads; });
    EXPECT_EQ(queues_.TakeNext(true, nullptr, &idle), nullptr);
    EXPECT_TRUE(idle);
    queues_.Queue(*normal_[0]);
    queues_.Queue(*favourite_[0]);
    normal_[1]->FRunning = false;
    queues_.Queue(*normal_[1]);  // refused: no wake-up
    EXPECT_EQ(queued, 2);
    EXPECT_EQ(queues_.TakeNext(true, nullptr, &idle), normal_[0]);
    EXPECT_FALSE(idle);
    WaitAt(*normal_[2], 30);
    WaitAt(*favourite_[1], 40);
    EXPECT_EQ(newHeads, 1);
    WaitAt(*normal_[1], 10);
    EXPECT_EQ(newHeads, 2);
    normal_[0]->FBusy = false;
}

TEST_F(FetchQueue, TimeToNextDueIsRoundedUpAndBounded) {
    constexpr std::chrono::milliseconds longest(1000);
    EXPECT_FALSE(queues_.TimeToNextDue(platform::MonotonicNow(), longest));
    struct Case {
        double dueInSeconds;
        long long ms;
    };
    for (const Case& c : {Case{-1, 0}, Case{0, 1}, Case{0.0104, 11}, Case{0.5, 501}, Case{60, 1000}}) {
        queues_.Clear();
        WaitAt(*normal_[0], c.dueInSeconds);
        const auto wait = queues_.TimeToNextDue(platform::MonotonicNow(), longest);
        ASSERT_TRUE(wait) << c.dueInSeconds;
        EXPECT_NEAR(static_cast<double>(wait->count()), static_cast<double>(c.ms), 1) << c.dueInSeconds;
    }
}

TEST_F(FetchQueue, ClearEmptiesEverything) {
    queues_.Queue(*normal_[0]);
    queues_.Queue(*favourite_[0]);
    WaitAt(*normal_[1], 1);
    queues_.Clear();
    EXPECT_TRUE(queues_.NormalQueue().empty());
    EXPECT_TRUE(queues_.FavouriteQueue().empty());
    EXPECT_TRUE(queues_.WaitList().empty());
    EXPECT_EQ(queues_.QueuedCount() + queues_.WaitingCount(), 0);
}

}  // namespace
}  // namespace enginetest
