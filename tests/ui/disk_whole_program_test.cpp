// The "Disque" page of ovl as a whole, on a private Xvfb display: the current webcam's saved
// pictures shown as thumbnails, one opened on the viewer page with a double click, and another
// data folder chosen through the Fichier menu, from which the webcams are loaded.
#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <string>

#include "engine/regconfig.h"
#include "tests/support/webcam_defs.h"
#include "tests/ui/whole_program_fixture.h"

namespace wholeprogram {
namespace {

using namespace std::chrono_literals;

class DiskWholeProgram : public WholeProgramTest {
protected:
    // The "Disque" tab in the 1100 x 760 window.
    static constexpr int kDiskTabX = 515, kTabY = 62;
    // A picture of one colour saved in folder, minutesAgo minutes ago.
    void SavePicture(const std::filesystem::path& folder, const std::string& served, testsupport::Rgb colour,
                     int minutesAgo) {
        ServePicture(served, colour);
        std::filesystem::create_directories(folder);
        std::filesystem::rename(nginx_->root() / served,
                                folder / SavedPictureName(std::time(nullptr) - 60 * minutesAgo));
    }
};

TEST_F(DiskWholeProgram, ShowsSavedPicturesOpensOneAndLoadsAnotherDataFolder) {
    // Cam1 saved three pictures (its camera is gone); the disk page builds thumbnails at once.
    testsupport::WriteWebcamDefs(dataFolder(), {Url("gone.jpg")});
    SavePicture(dataDir() / "Cam1", "a.jpg", kBlue, 30);
    SavePicture(dataDir() / "Cam1", "b.jpg", kGreen, 20);
    SavePicture(dataDir() / "Cam1", "c.jpg", kRed, 10);
    {
        engine::tregconfig store;
        engine::TDiskManRec diskman{};
        store.ReadDiskMan(diskman);
        diskman.AutoLoad = 1;
        store.WriteDiskMan(diskman);
    }
    // Another data folder, whose one webcam saved a yellow picture.
    const std::filesystem::path other = temp_.path() / "other";
    std::filesystem::create_directories(other);
    testsupport::WriteWebcamDefs(other.string() + "/", {Url("elsewhere.jpg")});
    SavePicture(other / "Cam1", "d.jpg", kYellow, 5);

    ASSERT_TRUE(StartOvl());
    // The viewer shows the newest picture (red) large; then the "Disque" tab.
    ASSERT_TRUE(ScreenShows("viewer", [](const testsupport::Screenshot& shot) { return shot.WidestRun(kRed) >= 300; }))
        << OvlLog();
    ASSERT_TRUE(desktop_->Click(mainWindow_, kDiskTabX, kTabY));
    std::optional<std::pair<int, int>> blue;
    ASSERT_TRUE(ScreenShows("thumbnails", [&](const testsupport::Screenshot& shot) {
        // Thumbnails of about 70 x 52 pixels, none wider than a cell; the red one is beside the
        // webcam's own red thumbnail in the grid on the left.
        for (const testsupport::Rgb colour : {kBlue, kGreen})
            if (shot.CountNear(colour) < 2500 || shot.WidestRun(colour) > 100) return false;
        blue = shot.CentreOf(kBlue);
        return shot.CountNear(kRed) >= kThumbnailPixels + 2500 && shot.WidestRun(kRed) < 250;
    })) << OvlLog();

    // A double click on the first (blue, the oldest) thumbnail, where it is seen, shows that
    // picture on the viewer page.
    ASSERT_TRUE(desktop_->ClickAt(*blue, true));
    EXPECT_TRUE(ScreenShows("opened", [](const testsupport::Screenshot& shot) {
        return shot.WidestRun(kBlue) >= 300 && shot.WidestRun(kRed) < 100;
    })) << OvlLog();

    // Fichier > "Choisir le dossier des webcams...": the other folder's webcam comes.
    ASSERT_TRUE(desktop_->Focus(mainWindow_));
    ASSERT_TRUE(desktop_->Keys({"alt+f", "Return"}));
    const std::string dialog = desktop_->WaitForWindow("^Choisir le dossier des webcams$", 10000, mainWindow_);
    ASSERT_FALSE(dialog.empty()) << OvlLog();
    ASSERT_TRUE(desktop_->Focus(dialog));
    ASSERT_TRUE(desktop_->Keys({"ctrl+a"}));
    ASSERT_TRUE(desktop_->Type(other.string()));
    ASSERT_TRUE(desktop_->Keys({"Return"}));
    EXPECT_TRUE(ScreenShows("other_folder", [](const testsupport::Screenshot& shot) {
        return shot.CountNear(kYellow) >= kThumbnailPixels && shot.CountNear(kRed) < 500 && shot.CountNear(kBlue) < 500;
    })) << OvlLog();
    StopOvl();
    engine::tregconfig store;
    engine::TExtraRec extra{};
    store.ReadExtra(extra);
    EXPECT_EQ(extra.DataDir.str(), other.string() + "/");
}

}  // namespace
}  // namespace wholeprogram
