// The enlarged view and the view filter of ovl as a whole, on a private Xvfb display with local
// nginx: the current webcam's picture is shown large and replaced when the camera's picture
// changes, and "depuis 5 min" hides a webcam whose last picture is older.
#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <string>

#include "tests/support/webcam_defs.h"
#include "tests/ui/whole_program_fixture.h"

namespace wholeprogram {
namespace {

class ViewerWholeProgram : public WholeProgramTest {};

TEST_F(ViewerWholeProgram, ShowsTheCurrentPictureLargeFollowsTheCameraAndFiltersOldPictures) {
    // Cam1 refreshes every second; Cam2's only picture is an hour old and its camera is gone.
    ServePicture("cam.jpg", kRed);
    testsupport::WriteWebcamDefs(dataFolder(), {Url("cam.jpg"), Url("gone.jpg")}, 1);
    ServePicture("old.jpg", kGreen);
    const std::time_t hourAgo = std::time(nullptr) - 3600;
    std::filesystem::create_directories(dataDir() / "Cam2");
    std::filesystem::rename(nginx_->root() / "old.jpg", dataDir() / "Cam2" / SavedPictureName(hourAgo));

    ASSERT_TRUE(StartOvl({"-AUTOCAP"}));
    // The viewer shows the 320-pixel-wide picture at its size; a thumbnail is 86 wide.
    EXPECT_TRUE(ScreenShows("before", [](const testsupport::Screenshot& shot) {
        return shot.WidestRun(kRed) >= 300 && shot.CountNear(kGreen) >= kThumbnailPixels;
    })) << OvlLog();

    ServePicture("cam.jpg", kBlue);
    EXPECT_TRUE(ScreenShows("after", [](const testsupport::Screenshot& shot) {
        return shot.WidestRun(kBlue) >= 300 && shot.WidestRun(kRed) < 80;
    })) << OvlLog();

    // ComboBox1, at the top of the left panel: "depuis 5 min" is the fourth item.
    ASSERT_TRUE(desktop_->Focus(mainWindow_));
    ASSERT_TRUE(desktop_->Click(mainWindow_, 100, 60));
    ASSERT_TRUE(desktop_->Keys({"Down", "Down", "Down", "Return"}));
    EXPECT_TRUE(ScreenShows("depuis_5_min", [](const testsupport::Screenshot& shot) {
        return shot.CountNear(kGreen) == 0 && shot.CountNear(kBlue) >= kThumbnailPixels;
    })) << OvlLog();
    StopOvl();
}

}  // namespace
}  // namespace wholeprogram
