// The fetch threads against servers that misbehave: every reply that gives no picture is a
// failed turn with its reason in the error log and status 7, a failing or slow webcam never
// holds a thread for long nor runs in a busy loop, and the pictures of a fast webcam all keep a
// file of their own.

#include "engine/timer_thread.h"
#include "tests/engine/fetch_thread_fixture.h"
#include "tests/engine/jpeg_test_pictures.h"
#include "tests/support/hostile_peer.h"
#include "tests/support/loopback_peer.h"

#include <gtest/gtest.h>

#include <malloc.h>

#include <algorithm>
#include <map>
#include <regex>
#include <stdexcept>

namespace {

namespace fs = std::filesystem;
using testsupport::HostilePeer;
using Kind = HostilePeer::Kind;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

class FetchThreadHostileTest : public enginetest::FetchThreadFixture {
protected:
    static std::vector<std::string> TwoPictures() {
        return {testpictures::SquaresPicture(1), testpictures::SquaresPicture(2)};
    }
};

// Each reply that gives no picture: one log entry with its reason, status 7 and no picture file.
// A reply that came whole but is no picture leaves no header.txt, so that the next turn fetches
// the picture whole again.
TEST_F(FetchThreadHostileTest, EveryReplyWithoutAPictureIsAFailedTurnWithItsReason) {
    struct Case {
        Kind kind;
        const char* reason;
        bool requestFailed;
    };
    const Case cases[] = {
        {Kind::TruncatedJpeg, "picture cut off\n", false},
        {Kind::Html, "not a JPEG picture\n", false},
        {Kind::Chunked, "not a JPEG picture\n", false},
        {Kind::NoStatusLine, "not a JPEG picture\n", false},
        {Kind::EmptyReply, "empty reply\n", false},
        {Kind::HeaderFlood, "200: Out of memory.\n", true},
        {Kind::BusySocket, "Picture larger than 1048576 bytes\n", true},
        {Kind::ByteASecond, "Turn not finished within 1500 ms\n", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(HostilePeer::KindName(c.kind));
        TearDown();
        SetUp();
        settings_->maxPictureBytes = 1u << 20;
        settings_->turnLimit = 1500ms;  // the byte-a-second body keeps within the inactivity limit
        HostilePeer peer(c.kind, TwoPictures(), 100ms);
        Add(peer.Url(), 60);
        manager_->StartWebcam(1);
        ASSERT_TRUE(WaitFor([&] { return Count(engine::kStatusError) == 1 && Count(5) >= 1; }, 20s)) << Errors();
        manager_->StopWebcam(1);
        const std::string log = Errors();
        EXPECT_NE(log.find(" - cam > Error fetching picture: " + std::string(c.reason)), std::string::npos) << log;
        EXPECT_NE(log.find("\nURL was " + peer.Url() + "\n"), std::string::npos) << log;
        EXPECT_TRUE(Jpegs().empty());
        if (!c.requestFailed) {
            EXPECT_FALSE(fs::exists(Folder() / "header.txt"));
        }
    }
}

// Refresh 0 against a server that answers nothing useful: a turn a second, not a busy loop.
// The waits are lower bounds, which a loaded machine only makes longer.
TEST_F(FetchThreadHostileTest, RefreshZeroWithoutAPictureWaitsASecondBetweenTurns) {
    for (Kind kind : {Kind::EmptyReply, Kind::Html}) {
        SCOPED_TRACE(HostilePeer::KindName(kind));
        HostilePeer peer(kind);
        Add(peer.Url(), 0);
        const auto start = Clock::now();
        manager_->StartWebcam(1);
        ASSERT_TRUE(WaitFor([&] { return peer.Connections() >= 3; }, 20s));
        EXPECT_GE(Clock::now() - start, 1900ms);
        manager_->StopWebcam(1);
        TearDown();
        SetUp();
    }
}

// A HEAD answered with a head and then bytes for ever ends with its head: header.new keeps the
// head alone, and the GET that follows is cut at the picture limit, long before the turn's.
TEST_F(FetchThreadHostileTest, AHeadFollowedByEndlessBytesEndsWithItsHead) {
    settings_->maxPictureBytes = 1u << 20;
    HostilePeer peer(Kind::EndlessBody);
    Add(peer.Url(), 60, 1);
    manager_->StartWebcam(1);
    ASSERT_TRUE(WaitFor([&] { return Count(engine::kStatusError) == 1 && Count(5) >= 1; }, 20s)) << Errors();
    manager_->StopWebcam(1);
    EXPECT_EQ(Count(engine::kStatusHeader), 1);
    EXPECT_LT(fs::file_size(Folder() / "header.new"), 1000u);
    EXPECT_NE(Errors().find("Error fetching picture: Picture larger than 1048576 bytes"), std::string::npos) << Errors();
}

// A failed turn frees its thread at once: four threads, six failing webcams with a long error
// pause, and a healthy webcam that keeps getting its pictures.
TEST_F(FetchThreadHostileTest, FailingWebcamsLeaveTheThreadsToHealthyOnes) {
    settings_->errorPause = 60s;
    const std::string closed = "http://127.0.0.1:" + std::to_string(testsupport::ClosedLoopbackPort()) + "/a.jpg";
    for (int i = 1; i <= 6; ++i) {
        Add(closed, 0, 0, 0, {}, "dead" + std::to_string(i));
        manager_->StartWebcam(i);
    }
    ASSERT_TRUE(WaitFor([&] { return Count(engine::kStatusError) >= 6; }));
    HostilePeer healthy(Kind::Picture, TwoPictures());
    Add(healthy.Url(), 0, 0, 0, {}, "healthy");
    manager_->StartWebcam(7);
    EXPECT_TRUE(WaitFor([&] { return pictures_ >= 5; }, 20s)) << pictures_;
    EXPECT_EQ(Count(engine::kStatusError), 6);  // the failing ones wait out their pause
}

// A failed turn's status 7 stays shown through the pause that follows it, as if the thread had
// waited it out: then a webcam due in a minute waits (status 5), one at refresh 0 goes into its
// next turn (the scheduler's report of status 1 tells the status as it stands when it runs,
// which a fetch thread quick to take the webcam has made 4 already). The thread itself is free
// meanwhile.
TEST_F(FetchThreadHostileTest, AFailureStaysShownThroughItsPause) {
    settings_->errorPause = 500ms;
    settings_->waitWithoutPicture = 0ms;
    MakeManager(engine::DefaultExtra1());
    const std::string closed = "http://127.0.0.1:" + std::to_string(testsupport::ClosedLoopbackPort()) + "/a.jpg";
    std::map<int, std::vector<std::pair<int, Clock::time_point>>> reports;
    manager_->OnStatusChange = [&](int index, int status) { reports[index].emplace_back(status, Clock::now()); };
    Add(closed, 60, 0, 0, {}, "minute");
    Add(closed, 0, 0, 0, {}, "fast");
    manager_->StartWebcam(1);
    manager_->StartWebcam(2);
    // The first failure of a webcam and the report after it.
    const auto firstFailure = [&](int index) {
        const auto& r = reports[index];
        return std::find_if(r.begin(), r.end(), [](const auto& e) { return e.first == engine::kStatusError; });
    };
    const auto reportedAfterFailure = [&](int index) {
        const auto failed = firstFailure(index);
        return failed != reports[index].end() && failed + 1 != reports[index].end();
    };
    ASSERT_TRUE(WaitFor([&] { return reportedAfterFailure(0) && reportedAfterFailure(1); }, 20s));
    manager_->StopWebcam(1);
    manager_->StopWebcam(2);
    const auto minute = firstFailure(0), fast = firstFailure(1);
    EXPECT_EQ(minute[1].first, engine::kStatusWaiting);
    EXPECT_TRUE(fast[1].first == engine::kStatusQueued || fast[1].first == engine::kStatusPicture) << fast[1].first;
    for (const auto& failed : {minute, fast}) EXPECT_GE(failed[1].second - failed[0].second, 450ms);
}

// Still pictures that come within one second each keep a file: the first under the 14-digit
// name, the others under the first free name with hundredths.
TEST_F(FetchThreadHostileTest, SameSecondPicturesEachKeepAFile) {
    HostilePeer peer(Kind::Picture, TwoPictures());  // alternating, so every one is new
    diskman_.GlobalSaveOn = 0;                        // the webcam's own mode: save every picture
    int saved = 0;
    manager_->OnNewPicture = [&](int, const std::string& fileName, const std::string*, std::uint8_t,
                                 engine::twebcampicture*, int) { saved += fileName.empty() ? 0 : 1; };
    Add(peer.Url(), 0);
    manager_->StartWebcam(1);
    ASSERT_TRUE(WaitFor([&] { return saved >= 8; }, 20s));
    manager_->StopWebcam(1);
    const auto files = Jpegs();
    EXPECT_EQ(static_cast<int>(files.size()), saved);
    int withHundredths = 0;
    for (const auto& file : files) {
        const std::string name = file.filename().string();
        EXPECT_TRUE(std::regex_match(name, std::regex("[0-9]{14}([0-9]{2})?\\.jpg"))) << name;
        withHundredths += name.size() == 20 ? 1 : 0;
    }
    EXPECT_GE(withHundredths, 1);  // at least two came within one second
}

// An oversized body is cut, and its buffer is given back: threads that are idle hold no
// picture-sized memory.
TEST_F(FetchThreadHostileTest, OversizedBodiesLeaveNoBufferBehind) {
    settings_->maxPictureBytes = 8u << 20;
    HostilePeer busy(Kind::BusySocket);
    const auto inUse = [] {
        const struct mallinfo2 info = mallinfo2();
        return static_cast<long long>(info.uordblks + info.hblkhd);
    };
    for (int i = 0; i < 4; ++i) Add(busy.Url(), 60, 0, 0, {}, "big" + std::to_string(i));
    const long long before = inUse();
    manager_->StartAll();
    ASSERT_TRUE(WaitFor([&] {
        for (int i = 0; i < 4; ++i)
            if (CountOf(i, engine::kStatusError) < 1 || CountOf(i, 5) < 1) return false;
        return true;
    }, 30s));
    EXPECT_LT(inUse() - before, 4ll << 20);  // each thread kept 8 MiB or more before
    manager_->StopAll();
}

// A status report that throws does not end the scheduler: the webcam goes on being moved into
// its queue.
TEST_F(FetchThreadHostileTest, SchedulerSurvivesAThrowingStatusReport) {
    HostilePeer peer(Kind::Picture, TwoPictures());
    int queued = 0;
    manager_->OnStatusChange = [&](int, int status) {
        statuses_.push_back(status);
        // The first report is Start's own, on this thread; the second is the scheduler's.
        if (status == engine::kStatusQueued && ++queued == 2) throw std::runtime_error("boom");
    };
    Add(peer.Url(), 1);
    manager_->StartWebcam(1);
    EXPECT_TRUE(WaitFor([&] { return queued >= 3; }, 60s)) << queued;  // moved again after the throw
    manager_->StopWebcam(1);
}

// A scheduler that ends as soon as it starts, the first one made only.
class SchedulerThatEnds : public engine::ttimerthread {
public:
    SchedulerThatEnds(engine::twebcammanager& manager, bool end) : ttimerthread(manager), end_(end) {}

protected:
    void Execute() override {
        if (!end_) ttimerthread::Execute();
    }

private:
    const bool end_;
};

// A scheduler that ends without being asked is replaced: the webcam goes on being moved into
// its queue by the new one.
TEST_F(FetchThreadHostileTest, ASchedulerThatEndedUnaskedIsReplaced) {
    int made = 0;
    auto services = engine::FetchThreadServices(settings_);
    services.scheduler = [&](engine::twebcammanager& m) -> std::unique_ptr<engine::ttimerthread> {
        return std::make_unique<SchedulerThatEnds>(m, ++made == 1);
    };
    manager_.reset();
    manager_ = std::make_unique<engine::twebcammanager>(dataDir().string() + "/", 4, engine::DefaultExtra1(), config_,
                                                        std::move(services));
    int queued = 0;
    manager_->OnStatusChange = [&](int, int status) { queued += status == engine::kStatusQueued; };
    HostilePeer peer(Kind::Picture, TwoPictures());
    Add(peer.Url(), 1);
    manager_->StartWebcam(1);
    // The first report is Start's own; the others come from the scheduler only.
    EXPECT_TRUE(WaitFor([&] { return queued >= 3; }, 60s)) << queued;
    manager_->StopWebcam(1);
    EXPECT_EQ(made, 2);
}

}  // namespace
