// How a fetch turn ends on the main thread: a picture taken lets go of the webcam and
// reschedules it in the picture's own call; bytes refused are let go in a call of their own.
// Either way the webcam's events keep their order: fetching, the picture, the rescheduling.

#include "platform/dispatch.h"
#include "tests/engine/fetch_thread_fixture.h"
#include "tests/engine/jpeg_test_pictures.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

class FetchThreadTurnEndTest : public enginetest::FetchThreadFixture {};

TEST_F(FetchThreadTurnEndTest, TheReschedulingFollowsThePictureInTheSameCallOnlyWhenTaken) {
    struct Case {
        const char* what;
        std::string bytes;
        // What the main thread runs after the picture step: the rescheduling's report ("S5",
        // waiting for the next due time) and a call queued during the step ("queued").
        std::vector<std::string> after;
        int savedFiles;
    };
    const Case cases[] = {
        {"a picture", testpictures::SquaresPicture(2), {"S5", "queued"}, 1},
        {"no picture", "not a picture at all", {"queued", "S5"}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        SetUp();
        std::vector<std::string> events;  // main thread only
        bool busyAtPicture = false, busyAtReschedule = true;
        auto step = settings_->newPicture;
        settings_->newPicture = [&](engine::twebcam& webcam, const std::string& bytes, const std::string& name,
                                    engine::PreparedPicture* prepared) {
            busyAtPicture = webcam.FBusy;
            const engine::PictureVerdict verdict = step(webcam, bytes, name, prepared);
            events.push_back("picture");
            // Runs after whatever the main thread was given before it, and before a call the
            // fetch thread makes once this one has returned.
            platform::Dispatcher::Main().Post([&events] { events.push_back("queued"); });
            return verdict;
        };
        MakeManager(engine::DefaultExtra1());
        manager_->OnStatusChange = [&](int, int status) {
            events.push_back("S" + std::to_string(status));
            if (status == engine::kStatusWaiting) busyAtReschedule = manager_->GetWebcam(1)->FBusy;
        };
        const fs::path file = temp_.path() / "local.jpg";
        testsupport::WriteFile(file, c.bytes);
        engine::twebcam& webcam = Add("file://" + file.string(), 60);
        manager_->StartWebcam(1);
        ASSERT_TRUE(WaitFor([&] { return events.size() >= 5 && !webcam.FBusy; })) << ::testing::PrintToString(events);
        std::vector<std::string> expected = {"S1", "S4", "picture"};
        expected.insert(expected.end(), c.after.begin(), c.after.end());
        EXPECT_EQ(events, expected);
        EXPECT_TRUE(busyAtPicture);
        EXPECT_FALSE(busyAtReschedule);
        EXPECT_EQ(static_cast<int>(Jpegs().size()), c.savedFiles);
        // Let go and waiting for its next turn, a refresh away: in the wait list, held by none.
        EXPECT_TRUE(webcam.FRunning);
        manager_->StopWebcam(1);
        EXPECT_EQ(events.back(), "S6");
    }
}

}  // namespace
