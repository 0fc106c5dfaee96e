#include "engine/definition_files.h"
#include "engine/webcam.h"
#include "platform/dispatch.h"
#include "tests/engine/webcam_fixture.h"
#include "tests/support/watchdog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>

namespace enginetest {
namespace {

using namespace std::chrono_literals;
using engine::twebcam;
namespace fs = std::filesystem;

auto Deadline() { return std::chrono::steady_clock::now() + 10s; }

bool Contains(const std::vector<twebcam*>& list, const twebcam& w) {
    return std::find(list.begin(), list.end(), &w) != list.end();
}

class Webcam : public WebcamTest {
protected:
    void SetUp() override {
        WebcamTest::SetUp();
        config_.SlowScanIdle = 60;
        config_.SlowScanRefresh = 45;
        config_.FavRefresh = 15;
        config_.FavRefreshOn = 1;
    }

    // What a fetch thread does with a started webcam: take it and set its due time; the turn is
    // over once the busy flag is cleared again.
    void TakeTurn(twebcam& w) {
        twebcam* taken = nullptr;
        ASSERT_TRUE(manager_->GetNextWebcam(1, taken));
        ASSERT_EQ(taken, &w);
        w.SetTurnDueTime();
        w.FBusy = false;
    }

    bool Waiting(const twebcam& w) const { return Contains(manager_->FQueues.WaitList(), w); }
    bool Queued(const twebcam& w) const {
        return Contains(manager_->FQueues.NormalQueue(), w) || Contains(manager_->FQueues.FavouriteQueue(), w);
    }
    int LastStatus() const { return statuses_.empty() ? -1 : statuses_.back().second; }
};

TEST_F(Webcam, ScheduleNextTable) {
    enum Where { kWait, kQueue };
    struct Case {
        const char* what;
        int refresh;
        bool favourite, slowScan;
        double lastNewAgoMinutes;  // < 0: no picture yet
        double skewMinutes;        // server date minus Last-Modified; < 0: unknown
        double advanceSeconds;     // time passed since the turn began
        bool resting;
        Where where;
        double dueInSeconds;  // after the turn began
    };
    const Case cases[] = {
        {"not due yet", 60, false, false, -1, -1, 10, false, kWait, 60},
        {"due == now goes to the wait list", 0, false, false, -1, -1, 0, false, kWait, 0},
        {"due exactly now after waiting", 60, false, false, -1, -1, 60, false, kWait, 60},
        {"past due is queued", 60, false, false, -1, -1, 61, false, kQueue, 60},
        {"slow scan off never rests", 60, false, false, 24 * 60, -1, 0, false, kWait, 60},
        {"idle longer than the limit rests", 60, false, true, 61, -1, 0, true, kWait, 45 * 60},
        {"idle within the limit", 60, false, true, 59, -1, 0, false, kWait, 60},
        {"idle exactly at the limit", 60, false, true, 60, -1, 0, false, kWait, 60},
        {"favourites never rest", 60, true, true, 24 * 60, -1, 0, false, kWait, 15},
        {"server skew adds to the idle time", 60, false, true, 30, 31, 0, true, kWait, 45 * 60},
        {"server skew alone", 60, false, true, -1, 61, 0, true, kWait, 45 * 60},
        {"small skew", 60, false, true, 30, 29, 0, false, kWait, 60},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        extra1_.SlowScanOn = c.slowScan ? 1 : 0;
        MakeManager();
        twebcam& w = Add("cam", c.refresh, c.favourite);
        const double turnStart = platform::MonotonicNow();
        w.Start();
        TakeTurn(w);
        if (c.lastNewAgoMinutes >= 0) w.FLastNewPicture = platform::Now() - platform::DaysFromMinutes(c.lastNewAgoMinutes);
        if (c.skewMinutes >= 0) {
            w.FServerDate = platform::EncodeDate(2026, 12, 10);
            w.FLastModified = w.FServerDate - platform::DaysFromMinutes(c.skewMinutes);
        }
        clock_.AdvanceSeconds(c.advanceSeconds);
        statuses_.clear();
        w.ScheduleNext();
        EXPECT_EQ(w.FResting, c.resting);
        EXPECT_EQ(Waiting(w), c.where == kWait);
        EXPECT_EQ(Queued(w), c.where == kQueue);
        EXPECT_EQ(LastStatus(), c.where == kWait ? engine::kStatusWaiting : engine::kStatusQueued);
        const double dueFrom = c.resting ? turnStart + platform::DaysFromSeconds(c.advanceSeconds) : turnStart;
        EXPECT_NEAR(w.FDueTime, dueFrom + platform::DaysFromSeconds(c.dueInSeconds), 1e-9);
        manager_.reset();
    }
}

TEST_F(Webcam, TurnDueTimeCapsFavourites) {
    struct Case {
        int refresh;
        bool favourite;
        std::uint8_t capOn;
        int expectedSeconds;
    };
    const Case cases[] = {
        {60, true, 1, 15}, {60, true, 0, 60}, {10, true, 1, 10}, {60, false, 1, 60}, {0, true, 1, 0}, {15, true, 1, 15},
        {60, true, 2, 60},  // only the value 1 switches the cap on
    };
    for (const Case& c : cases) {
        config_.FavRefreshOn = c.capOn;
        MakeManager();
        twebcam& w = Add("cam", c.refresh, c.favourite);
        w.SetTurnDueTime();
        EXPECT_NEAR(w.FDueTime, platform::MonotonicNow() + platform::DaysFromSeconds(c.expectedSeconds), 1e-9)
            << c.refresh << " " << c.favourite << " " << int(c.capOn);
        manager_.reset();
    }
}

TEST_F(Webcam, DueTimesIgnoreChangesOfTheWallClock) {
    MakeManager();
    twebcam& w = Add("cam", 60);
    w.Start();
    TakeTurn(w);
    // Summer time ends: the wall clock goes back an hour; the webcam is still due in 60 s.
    clock_.SetLocal(platform::Now() - platform::DaysFromMinutes(60));
    clock_.AdvanceSeconds(61);
    w.ScheduleNext();
    EXPECT_TRUE(Queued(w));
}

TEST_F(Webcam, PausedWebcamEndsItsTurnStopped) {
    MakeManager();
    twebcam& w = Add("cam", 60);
    w.Start();
    TakeTurn(w);
    w.Pause();
    w.ScheduleNext();
    EXPECT_EQ(LastStatus(), engine::kStatusStopped);
    EXPECT_TRUE(w.FRunning);
    EXPECT_FALSE(Waiting(w) || Queued(w));
}

TEST_F(Webcam, StartOfADisabledOrRunningWebcamDoesNothing) {
    MakeManager();
    auto rec = StillRecord("off", 60);
    rec.Enabled = 0;
    twebcam& off = manager_->AppendWebcam(rec, SecondRecord(false), false);
    off.Start();
    EXPECT_FALSE(off.FRunning);
    EXPECT_TRUE(statuses_.empty());
    twebcam& on = Add("on");
    on.Start();
    on.Start();
    EXPECT_EQ(manager_->FQueues.NormalQueue().size(), 1u);
    EXPECT_EQ(statuses_, (std::vector<std::pair<int, int>>{{1, engine::kStatusQueued}}));
}

TEST_F(Webcam, ARestingWebcamStoppedAndStartedKeepsResting) {
    extra1_.SlowScanOn = 1;
    MakeManager();
    twebcam& w = Add("cam", 60);
    w.Start();
    TakeTurn(w);
    w.FLastNewPicture = platform::Now() - platform::DaysFromMinutes(120);
    w.ScheduleNext();
    ASSERT_TRUE(w.FResting);
    w.Stop();
    clock_.AdvanceSeconds(5);
    w.Start();
    EXPECT_TRUE(Waiting(w));
    EXPECT_EQ(LastStatus(), engine::kStatusWaiting);
    EXPECT_NEAR(w.FDueTime, platform::MonotonicNow() + platform::DaysFromMinutes(45), 1e-9);
}

TEST_F(Webcam, StopOfAWebcamNoThreadHoldsReturnsAtOnce) {
    MakeManager();
    twebcam& w = Add("cam");
    w.Start();
    w.Stop();
    EXPECT_FALSE(w.FRunning);
    EXPECT_FALSE(Queued(w));
    EXPECT_EQ(LastStatus(), engine::kStatusStopped);
    EXPECT_EQ(probe_.interrupts, 0);
}

TEST_F(Webcam, StopOfAHeldWebcamInterruptsTheThreadAndWaitsForIt) {
    // The held request ends only when interrupted, and the turn then lets go through one more
    // call on this thread: a stop that did not interrupt it, or did not serve that call while it
    // waited, would wait for ever; one that did not wait returns while the webcam is still held.
    const testsupport::Watchdog watchdog(30s);
    probe_.holdTurns = true;
    MakeManager();
    twebcam& w = Add("cam");
    manager_->StartWebcam(1);
    ASSERT_TRUE(platform::Dispatcher::Main().WaitUntil(
        [&] { return w.FBusy && w.FStatus == engine::kStatusPicture; }, 1ms, Deadline()));
    w.Stop();
    EXPECT_FALSE(w.FBusy);
    EXPECT_EQ(probe_.interrupts, 1);
    EXPECT_EQ(probe_.turns, 1);
    EXPECT_EQ(LastStatus(), engine::kStatusStopped);
    EXPECT_FALSE(Waiting(w) || Queued(w));
    EXPECT_FALSE(w.HasImage());  // the interrupted turn delivered nothing
}

TEST_F(Webcam, StoppingFromInsideTheHoldersOwnCallDoesNotDeadlock) {
    // A handler of the holder's status report stops the webcam, or stops and frees it (as a
    // nested event loop of a dialog could): the holder lets go once the call returns.
    for (const bool free : {false, true}) {
        SCOPED_TRACE(free ? "stop and free" : "stop");
        const testsupport::Watchdog watchdog(30s);
        MakeManager();
        twebcam& w = Add("cam");
        bool stopped = false, stillHeld = false;
        manager_->OnStatusChange = [&](int, int status) {
            if (status != engine::kStatusPicture || stopped) return;
            stopped = true;
            manager_->StopWebcam(1);
            stillHeld = w.FBusy;
            if (free) manager_->FreeWebcam(0);
        };
        const int turns = probe_.turns + 1;
        manager_->StartWebcam(1);
        ASSERT_TRUE(platform::Dispatcher::Main().WaitUntil([&] { return probe_.turns == turns; }, 1ms, Deadline()));
        EXPECT_TRUE(stillHeld);
        if (!free) {
            ASSERT_TRUE(platform::Dispatcher::Main().WaitUntil([&] { return !w.FBusy; }, 1ms, Deadline()));
            EXPECT_FALSE(w.HasImage());
        }
        EXPECT_EQ(manager_->RunningCount(), 0);
        manager_.reset();
    }
}

TEST_F(Webcam, StoppingAStreamFromInsideItsOwnCallDoesNotDeadlock) {
    const testsupport::Watchdog watchdog(30s);
    MakeManager();
    auto rec = StillRecord("stream", 0);
    rec.WebcamType = engine::kWebcamTypeStream;
    twebcam& w = manager_->AppendWebcam(rec, SecondRecord(false), false);
    bool stopped = false;
    manager_->OnStatusChange = [&](int, int status) {
        if (status == engine::kStatusPicture && w.FStreamThread && !stopped) {
            stopped = true;
            w.Stop();
        }
    };
    w.Start();
    ASSERT_TRUE(platform::Dispatcher::Main().WaitUntil([&] { return stopped; }, 1ms, Deadline()));
    EXPECT_FALSE(w.FRunning);
    EXPECT_FALSE(w.FStreamThread);
    w.Start();  // a new stream thread while the old one is still ending
    EXPECT_TRUE(w.FStreamThread);
    w.Stop();
}

TEST_F(Webcam, AStreamingWebcamRunsItsOwnThreadUntilStopped) {
    MakeManager();
    auto rec = StillRecord("stream", 0);
    rec.WebcamType = engine::kWebcamTypeStream;
    twebcam& w = manager_->AppendWebcam(rec, SecondRecord(false), false);
    w.Start();
    ASSERT_TRUE(w.FStreamThread);
    auto* stream = static_cast<StandInStream*>(w.FStreamThread.get());
    EXPECT_TRUE(stream->Started());
    EXPECT_EQ(LastStatus(), engine::kStatusPicture);
    EXPECT_FALSE(Queued(w));
    w.ScheduleNext();  // no effect on a streaming webcam
    EXPECT_FALSE(Waiting(w) || Queued(w));
    w.Stop();
    EXPECT_FALSE(w.FStreamThread);
    EXPECT_EQ(LastStatus(), engine::kStatusStopped);
}

TEST_F(Webcam, SetRecordRenamesTheFolderSafely) {
    MakeManager();
    twebcam& w = Add("Old");
    ASSERT_TRUE(fs::is_directory(dataDir() / "Old"));
    fs::create_directories(dataDir() / "Taken");
    testsupport::WriteFile(dataDir() / "Taken" / "keep.jpg", "x");
    struct Case {
        const char* name;
        const char* folderAfter;  // where the webcam's pictures are afterwards
    };
    const Case cases[] = {
        {"New", "New"},
        {"..", "New"},         // unsafe: not renamed
        {"a/b", "New"},
        {"Taken", "New"},      // an existing folder is never replaced
    };
    for (const Case& c : cases) {
        auto rec = w.Rec();
        const std::string before = rec.Name.str();
        rec.Name = c.name;
        w.SetRecord(rec);
        EXPECT_TRUE(fs::is_directory(dataDir() / c.folderAfter)) << c.name;
        EXPECT_EQ(w.Name(), c.name);
        rec.Name = "New";
        w.SetRecord(rec);  // back for the next case
    }
    EXPECT_EQ(testsupport::ReadFile(dataDir() / "Taken" / "keep.jpg"), "x");
    const auto stored = engine::ReadDefinitionFiles(DataFolder());
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].rec1.Name.str(), "New");
}

TEST_F(Webcam, AnUnsafeNameNeverReachesOutsideTheDataFolder) {
    MakeManager();
    const fs::path outside = dataDir().parent_path() / "outside";
    testsupport::WriteFile(outside / "header.txt", "Date Thu, 10 Dec 2026 08:00:00 GMT\n");
    testsupport::WriteFile(outside / "cam20261210081502.jpg", PictureBytes(1, 2, 3));
    for (const char* name : {"../outside", "..", "a/b", "../made"}) {
        twebcam& w = Add(name);
        w.Start();
        EXPECT_EQ(w.Folder(), "") << name;
        EXPECT_EQ(w.FServerDate, 0) << name;
        std::unique_ptr<engine::twebcampicture> picture;
        std::string file;
        EXPECT_FALSE(w.GetLatestImage(picture, file)) << name;
    }
    EXPECT_FALSE(fs::exists(dataDir().parent_path() / "made"));
    EXPECT_FALSE(fs::exists(dataDir() / "a"));
}

TEST_F(Webcam, SettersWriteTheirRecords) {
    MakeManager();
    twebcam& w = manager_->AppendWebcam(StillRecord("cam", 30), SecondRecord(false), true);
    ASSERT_EQ(engine::ReadDefinitionFiles(DataFolder()).size(), 1u);
    w.Start();
    w.SetEnabled(false);
    EXPECT_FALSE(w.FRunning);
    w.SetFavourite(true);
    const auto stored = engine::ReadDefinitionFiles(DataFolder());
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].rec1.Enabled, 0);
    EXPECT_EQ(stored[0].rec2.Favourite, 1);
    EXPECT_TRUE(w.Favourite());
}

TEST_F(Webcam, ReadsTheDatesOfItsHeaderAtCreation) {
    MakeManager();
    testsupport::WriteFile(dataDir() / "cam" / "header.txt",
                           "HTTP/1.0 200 OK\r\nLast-Modified Fri, 11 Dec 2026 09:00:00 GMT\r\n"
                           "Date Thu, 10 Dec 2026 08:00:00 GMT\r\n");
    twebcam& w = Add("cam");
    const double date = platform::EncodeDate(2026, 12, 10) + platform::EncodeTime(8, 0, 0);
    EXPECT_DOUBLE_EQ(w.FServerDate, date);
    EXPECT_DOUBLE_EQ(w.FLastModified, date);
    twebcam& none = Add("none");
    EXPECT_EQ(none.FServerDate, 0);
    EXPECT_EQ(none.FLastModified, 0);
}

TEST_F(Webcam, LatestImageComesFromMemoryOrTheNewestFile) {
    MakeManager();
    twebcam& w = Add("cam");
    std::unique_ptr<engine::twebcampicture> picture;
    std::string file = "x";
    EXPECT_FALSE(w.GetLatestImage(picture, file));
    EXPECT_EQ(file, "");
    testsupport::WriteFile(dataDir() / "cam" / "cam20261210081502.jpg", PictureBytes(1, 2, 3));
    testsupport::WriteFile(dataDir() / "cam" / "cam20261210081503.JPG", PictureBytes(4, 5, 6));
    testsupport::WriteFile(dataDir() / "cam" / "header.txt", "");
    ASSERT_TRUE(w.GetLatestImage(picture, file));
    EXPECT_EQ(file, DataFolder() + "cam/cam20261210081503.JPG");
    EXPECT_EQ(picture->Bytes(), PictureBytes(4, 5, 6));
    w.FPicture = PictureBytes(7, 8, 9);
    EXPECT_TRUE(w.HasImage());
    ASSERT_TRUE(w.GetLatestImage(picture, file));
    EXPECT_EQ(file, "");
    EXPECT_EQ(picture->Bytes(), PictureBytes(7, 8, 9));
}

}  // namespace
}  // namespace enginetest
