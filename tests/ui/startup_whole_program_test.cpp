// The program ovl as a whole on a private Xvfb display: it starts with a data folder of four
// webcams on local nginx, loads and starts them (-AUTOCAP), shows their four thumbnails, and a
// close (the session's SIGTERM) shuts it down cleanly, writing the five settings records.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <filesystem>
#include <string>

#include "tests/support/webcam_defs.h"
#include "tests/ui/whole_program_fixture.h"

namespace wholeprogram {
namespace {

class StartupWholeProgram : public WholeProgramTest {};

TEST_F(StartupWholeProgram, ShowsFourThumbnailsAndClosesCleanly) {
    ServePicture("red.jpg", kRed);
    ServePicture("green.jpg", kGreen);
    ServePicture("blue.jpg", kBlue);
    ServePicture("yellow.jpg", kYellow);
    testsupport::WriteWebcamDefs(dataFolder(),
                                 {Url("red.jpg"), Url("green.jpg"), Url("blue.jpg"), Url("yellow.jpg")});

    ASSERT_TRUE(StartOvl({"-AUTOCAP"}));
    const bool fourThumbnails = ScreenShows("four_thumbnails", [](const testsupport::Screenshot& shot) {
        for (const testsupport::Rgb colour : {kRed, kGreen, kBlue, kYellow})
            if (shot.CountNear(colour) < kThumbnailPixels) return false;
        return true;
    });
    const std::optional<int> status = StopOvl();
    EXPECT_TRUE(fourThumbnails) << OvlLog();
    ASSERT_TRUE(status.has_value()) << "ovl did not end\n" << OvlLog();
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << *status << "\n" << OvlLog();
    for (int i = 1; i <= 4; ++i) EXPECT_TRUE(std::filesystem::is_directory(dataDir() / ("Cam" + std::to_string(i))));

    const std::filesystem::path records = configDir() / "Quenmark" / "Orvello2";
    const std::pair<const char*, std::uintmax_t> sizes[] = {
        {"CONFIG.bin", 600}, {"EXTRA.bin", 264}, {"EXTRA1.bin", 1560}, {"EXTRA2.bin", 1340}, {"DISKMAN.bin", 328}};
    for (const auto& [name, size] : sizes) {
        ASSERT_TRUE(std::filesystem::exists(records / name)) << name;
        EXPECT_EQ(std::filesystem::file_size(records / name), size) << name;
    }
}

}  // namespace
}  // namespace wholeprogram
