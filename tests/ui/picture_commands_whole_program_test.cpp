// The Images menu of ovl as a whole, on a private Xvfb display: the pictures selected on the
// "Disque" page are made into an AVI movie (read back by ffprobe), copied to another folder and
// then deleted, all through the menus and the keyboard as a person would.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/regconfig.h"
#include "tests/support/run_program.h"
#include "tests/support/webcam_defs.h"
#include "tests/ui/whole_program_fixture.h"

namespace wholeprogram {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

int JpegCount(const fs::path& folder) {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(folder)) count += entry.path().extension() == ".jpg";
    return count;
}

class PictureCommandsWholeProgram : public WholeProgramTest {
protected:
    // A selected entry's name is drawn on the selection's colour (clHighlight): its pixels in the
    // rows below the first thumbnail's middle (corner), right of it (the webcam grid's own
    // selection frame is left of it).
    static int SelectionBelow(const testsupport::Screenshot& shot, std::pair<int, int> corner) {
        int count = 0;
        for (int y = corner.second; y < std::min(shot.height, corner.second + 60); ++y)
            for (int x = corner.first - 45; x < shot.width; ++x) {
                const std::uint8_t* p = &shot.rgb[(static_cast<std::size_t>(y) * shot.width + x) * 3];
                count += std::abs(p[0] - kSelection.r) <= 12 && std::abs(p[1] - kSelection.g) <= 12 &&
                         std::abs(p[2] - kSelection.b) <= 12;
            }
        return count;
    }
    static constexpr testsupport::Rgb kSelection{0, 0, 128};  // clHighlight
    static constexpr int kDiskTabX = 515, kTabY = 62;  // the "Disque" tab in the 1100 x 760 window
    // Items of the Images menu, counted from the first (separators are passed over).
    static constexpr int kCopySelected = 3, kDeleteSelected = 5, kAvi = 7;

    void ImagesMenuItem(int downs) {
        ASSERT_TRUE(desktop_->Focus(mainWindow_));
        std::vector<std::string> keys{"alt+i"};
        keys.insert(keys.end(), static_cast<std::size_t>(downs), "Down");
        keys.push_back("Return");
        ASSERT_TRUE(desktop_->Keys(keys));
    }
    // Types a path into the file or folder dialog titled title, and confirms it.
    void ChoosePath(const std::string& title, const std::string& path) {
        const std::string dialog = desktop_->WaitForWindow("^" + title + "$", 10000, mainWindow_);
        ASSERT_FALSE(dialog.empty()) << title << "\n" << OvlLog();
        ASSERT_TRUE(desktop_->Focus(dialog));
        ASSERT_TRUE(desktop_->Keys({"ctrl+a"}));
        ASSERT_TRUE(desktop_->Type(path));
        ASSERT_TRUE(desktop_->Keys({"Return"}));
    }
};

TEST_F(PictureCommandsWholeProgram, ExportsCopiesAndDeletesTheSelectedPictures) {
    testsupport::WriteWebcamDefs(dataFolder(), {Url("gone.jpg")});
    const fs::path cam = dataDir() / "Cam1";
    fs::create_directories(cam);
    const testsupport::Rgb colours[] = {kRed, kGreen, kBlue, kYellow};
    for (int i = 0; i < 4; ++i) {
        ServePicture("p.jpg", colours[i]);
        fs::rename(nginx_->root() / "p.jpg", cam / SavedPictureName(std::time(nullptr) - 600 + 60 * i));
    }
    {
        engine::tregconfig store;
        engine::TDiskManRec diskman{};
        store.ReadDiskMan(diskman);
        diskman.AutoLoad = 1;
        store.WriteDiskMan(diskman);
    }
    ASSERT_TRUE(StartOvl());
    ASSERT_TRUE(ScreenShows("started", [](const testsupport::Screenshot& shot) { return shot.WidestRun(kYellow) >= 300; }))
        << OvlLog();
    // The "Disque" page; once its thumbnails are there, a click on the first (red) one selects it
    // alone, then Ctrl+A selects every picture: four names on the selection's colour.
    ASSERT_TRUE(desktop_->Click(mainWindow_, kDiskTabX, kTabY));
    std::optional<std::pair<int, int>> red;
    ASSERT_TRUE(ScreenShows("thumbnails", [&](const testsupport::Screenshot& shot) {
        red = shot.CentreOf(kRed);
        return shot.CountNear(kGreen) >= 2500 && shot.CountNear(kBlue) >= 2500 && shot.CountNear(kRed) >= 2500;
    })) << OvlLog();
    ASSERT_TRUE(desktop_->ClickAt(*red));
    int oneName = 0;  // the selection's pixels of one name
    ASSERT_TRUE(ScreenShows("one_selected", [&](const testsupport::Screenshot& shot) {
        oneName = SelectionBelow(shot, *red);
        return oneName >= 200;
    })) << OvlLog();
    ASSERT_TRUE(desktop_->Keys({"ctrl+a"}));
    EXPECT_TRUE(ScreenShows("selected", [&](const testsupport::Screenshot& shot) {
        return SelectionBelow(shot, *red) >= 3.5 * oneName;
    })) << OvlLog();

    // Images > AVI: the file, then the compression dialog's OK (no compression).
    const fs::path movie = temp_.path() / "movie.avi";
    ImagesMenuItem(kAvi);
    ChoosePath("Enregistrer le fichier AVI", movie.string());
    const std::string compression = desktop_->WaitForWindow("^Compression vidéo$", 10000, mainWindow_);
    ASSERT_FALSE(compression.empty()) << OvlLog();
    ASSERT_TRUE(desktop_->Focus(compression));
    ASSERT_TRUE(desktop_->Keys({"Return"}));
    ASSERT_TRUE(testsupport::WaitFor([&] {
        const testsupport::ProgramResult probe = testsupport::RunProgram(
            {"ffprobe", "-v", "error", "-count_frames", "-select_streams", "v:0", "-show_entries",
             "stream=width,height,r_frame_rate,nb_read_frames", "-of", "default=noprint_wrappers=1", movie.string()});
        return probe.exit_code == 0 && probe.out == "width=320\nheight=240\nr_frame_rate=2/1\nnb_read_frames=4\n";
    }, 20s)) << OvlLog();
    Shot("exported");

    // Images > copy to another folder.
    const fs::path copies = temp_.path() / "copies";
    fs::create_directories(copies);
    ImagesMenuItem(kCopySelected);
    ChoosePath("Copier les images sélectionnées", copies.string());
    EXPECT_TRUE(testsupport::WaitFor([&] { return JpegCount(copies) == 4; }, 10s)) << OvlLog();
    Shot("copied");

    // Images > delete the selected pictures: no question, the page is emptied.
    ImagesMenuItem(kDeleteSelected);
    EXPECT_TRUE(testsupport::WaitFor([&] { return JpegCount(cam) == 0; }, 10s)) << OvlLog();
    EXPECT_TRUE(ScreenShows("deleted", [](const testsupport::Screenshot& shot) {
        return shot.CountNear(kGreen) == 0 && shot.CountNear(kBlue) == 0;
    })) << OvlLog();
    EXPECT_EQ(JpegCount(copies), 4);
    StopOvl();
}

}  // namespace
}  // namespace wholeprogram
