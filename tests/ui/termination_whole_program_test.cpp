// ovl as a whole asked to end (SIGTERM, as the session's end sends it) in the middle of a long
// operation: the operation stops at its next step, the window closes in order, the settings
// are written (DISKMAN is written only by the shutdown) and the program is gone within 2 s.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "engine/regconfig.h"
#include "engine/settings_records.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"
#include "tests/support/webcam_defs.h"
#include "tests/support/xvfb_display.h"
#include "tests/ui/whole_program_fixture.h"

namespace wholeprogram {
namespace {

using namespace std::chrono_literals;

class TerminationWholeProgram : public WholeProgramTest {
protected:
    std::filesystem::path DiskMan() const { return configDir() / "Quenmark" / "Orvello2" / "DISKMAN.bin"; }
    // A JPEG of noise, slow to decode; the default size is slow even at a reduced scale.
    std::filesystem::path NoisePicture(const std::string& size = "2400x1800") const {
        const std::filesystem::path picture = temp_.path() / ("noise" + size + ".jpg");
        const testsupport::ProgramResult made = testsupport::RunProgram(
            {"ffmpeg", "-loglevel", "error", "-y", "-f", "lavfi", "-i", "nullsrc=s=" + size + ",geq=random(1)*255:128:128",
             "-frames:v", "1", "-q:v", "2", picture.string()});
        EXPECT_EQ(made.exit_code, 0) << made.err;
        return picture;
    }
    // Webcam Cam1 with count saved pictures, all links to picture, and the disk page set to list
    // its folder at start.
    void OneWebcamWithPictures(const std::filesystem::path& picture, int count) {
        testsupport::WriteWebcamDefs(dataFolder(), {"http://127.0.0.1:1/cam.jpg"});
        const std::filesystem::path cam = dataDir() / "Cam1";
        std::filesystem::create_directories(cam);
        const std::time_t first = std::time(nullptr) - 86400;
        for (int i = 0; i < count; ++i) std::filesystem::create_hard_link(picture, cam / SavedPictureName(first + i));
        engine::tregconfig store;
        engine::TDiskManRec diskman{};
        store.ReadDiskMan(diskman);
        diskman.AutoLoad = 1;
        store.WriteDiskMan(diskman);
        std::filesystem::remove(DiskMan());  // the shutdown writes it again
    }
    // Thousands of webcams, each with a saved picture whose thumbnail a load makes.
    void ManyWebcamsWithAPicture(const std::string& size = "2400x1800") {
        const std::filesystem::path picture = NoisePicture(size);
        constexpr int kWebcams = 3000;
        testsupport::WriteWebcamDefs(dataFolder(), std::vector<std::string>(kWebcams, "http://127.0.0.1:1/cam.jpg"));
        const std::string name = SavedPictureName(std::time(nullptr) - 3600);
        for (int i = 1; i <= kWebcams; ++i) {
            const std::filesystem::path folder = dataDir() / ("Cam" + std::to_string(i));
            std::filesystem::create_directories(folder);
            std::filesystem::create_hard_link(picture, folder / name);
        }
    }
    static constexpr int kDiskTabX = 515, kTabY = 62;
    // SIGTERM while what the window shows is busy: ovl ends, cleanly, within 2 s.
    void ExpectEndsWithinTwoSeconds() {
        ASSERT_FALSE(std::filesystem::exists(DiskMan()));
        const std::optional<int> status = TerminateOvlWithin(2s);
        ASSERT_TRUE(status.has_value()) << "ovl did not end within 2 s\n" << OvlLog();
        EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << *status << "\n" << OvlLog();
        EXPECT_TRUE(std::filesystem::exists(DiskMan()));
    }
};

// Thousands of webcams, each with a large saved picture whose thumbnail the load makes.
TEST_F(TerminationWholeProgram, DuringTheStartUpLoad) {
    ManyWebcamsWithAPicture();
    ASSERT_TRUE(StartOvl());
    ASSERT_FALSE(desktop_->WaitForWindow("^Chargement de vos webcams \\.\\.\\.$", 20000).empty()) << OvlLog();
    Shot("loading");
    ExpectEndsWithinTwoSeconds();
}

// A hundred thousand webcams: SIGTERM right as their loading window goes, while the window
// shows the first one and marks it among them all, ends ovl within 2 s. (The moment during the
// load is DuringTheStartUpLoad's.)
TEST_F(TerminationWholeProgram, AfterTheLoadOfAHundredThousandWebcams) {
    // A third of a gigabyte of definition files: kept in memory where there is a memory file
    // system, as freeing them on a disk that discards its blocks takes a minute.
    const testsupport::TempDir data(std::filesystem::is_directory("/dev/shm") ? std::filesystem::path("/dev/shm")
                                                                             : std::filesystem::temp_directory_path());
    testsupport::StoreDataFolder(data.folder());
    testsupport::WriteNumberedWebcamDefs(data.folder(), 100000, "http://127.0.0.1:1/");
    ASSERT_TRUE(StartOvl());
    const std::string loading = desktop_->WaitForWindow("^Chargement de vos webcams \\.\\.\\.$", 20000);
    ASSERT_FALSE(loading.empty()) << OvlLog();
    ASSERT_TRUE(testsupport::WaitFor([&] { return !desktop_->Visible(loading); }, 60s)) << OvlLog();
    ExpectEndsWithinTwoSeconds();
}

// The list read again after a delete, with thousands of webcams left.
TEST_F(TerminationWholeProgram, WhileTheListIsReadAgainAfterADelete) {
    ManyWebcamsWithAPicture("800x600");  // smaller: the load at start runs to its end
    ASSERT_TRUE(StartOvl());
    const std::string loading = desktop_->WaitForWindow("^Chargement de vos webcams \\.\\.\\.$", 20000);
    ASSERT_FALSE(loading.empty()) << OvlLog();
    ASSERT_TRUE(testsupport::WaitFor([&] { return !desktop_->Visible(loading); }, 120s)) << OvlLog();
    // The first cell's webcam, Webcams > "Supprimer la webcam courante": Yes, then No to its pictures.
    constexpr int kDeleteCurrent = 14;
    ASSERT_TRUE(desktop_->Click(mainWindow_, 50, 120));
    ASSERT_TRUE(desktop_->Focus(mainWindow_));
    std::vector<std::string> keys{"alt+w"};
    keys.insert(keys.end(), kDeleteCurrent, "Down");
    keys.push_back("Return");
    ASSERT_TRUE(desktop_->Keys(keys));
    for (const char* answer : {"Return", "n"}) {
        const std::string box = desktop_->WaitForWindow("^Orvello$", 10000, mainWindow_);
        ASSERT_FALSE(box.empty()) << "no question\n" << OvlLog();
        ASSERT_TRUE(desktop_->Focus(box));
        ASSERT_TRUE(desktop_->Keys({answer}));
        ASSERT_TRUE(testsupport::WaitFor([&] { return !desktop_->Visible(box); }, 10s));
    }
    // The loading window again: the reload is under way, however slow the machine.
    ASSERT_FALSE(desktop_->WaitForWindow("^Chargement de vos webcams \\.\\.\\.$", 20000).empty()) << OvlLog();
    Shot("reloading");
    ExpectEndsWithinTwoSeconds();
}

// The "Disque" page making the thumbnails of thousands of large pictures.
TEST_F(TerminationWholeProgram, WhileTheDiskPageMakesThumbnails) {
    OneWebcamWithPictures(NoisePicture(), 3000);
    ASSERT_TRUE(StartOvl());
    std::this_thread::sleep_for(2s);  // the deferred load
    // The "Disque" tab, then "Afficher les vignettes".
    constexpr int kThumbnailsBoxX = 622, kThumbnailsBoxY = 714;
    ASSERT_TRUE(desktop_->Click(mainWindow_, kDiskTabX, kTabY));
    std::this_thread::sleep_for(1s);
    ASSERT_TRUE(desktop_->Click(mainWindow_, kThumbnailsBoxX, kThumbnailsBoxY));
    std::this_thread::sleep_for(1s);
    Shot("thumbnails");
    ExpectEndsWithinTwoSeconds();
}

// An uncompressed AVI movie of a thousand selected pictures on the "Disque" page.
TEST_F(TerminationWholeProgram, DuringAnAviExport) {
    OneWebcamWithPictures(NoisePicture("480x360"), 1200);
    ASSERT_TRUE(StartOvl());
    std::this_thread::sleep_for(2s);  // the deferred load
    // The "Disque" tab, a click on the first picture, Ctrl+A; Images > AVI, the file, then the
    // compression dialog's OK (no compression).
    constexpr int kFirstCellX = 481, kFirstCellY = 136, kAviItem = 7;
    ASSERT_TRUE(desktop_->Click(mainWindow_, kDiskTabX, kTabY));
    std::this_thread::sleep_for(1s);
    ASSERT_TRUE(desktop_->Click(mainWindow_, kFirstCellX, kFirstCellY));
    ASSERT_TRUE(desktop_->Keys({"ctrl+a"}));
    std::vector<std::string> keys{"alt+i"};
    keys.insert(keys.end(), kAviItem, "Down");
    keys.push_back("Return");
    ASSERT_TRUE(desktop_->Keys(keys));
    const std::string save = desktop_->WaitForWindow("^Enregistrer le fichier AVI$", 10000, mainWindow_);
    ASSERT_FALSE(save.empty()) << OvlLog();
    const std::filesystem::path movie = temp_.path() / "movie.avi";
    ASSERT_TRUE(desktop_->Focus(save));
    ASSERT_TRUE(desktop_->Keys({"ctrl+a"}));
    ASSERT_TRUE(desktop_->Type(movie.string()));
    ASSERT_TRUE(desktop_->Keys({"Return"}));
    const std::string compression = desktop_->WaitForWindow("^Compression vidéo$", 10000, mainWindow_);
    ASSERT_FALSE(compression.empty()) << OvlLog();
    ASSERT_TRUE(desktop_->Focus(compression));
    ASSERT_TRUE(desktop_->Keys({"Return"}));
    // Under way: some frames written, far from all.
    ASSERT_TRUE(testsupport::WaitFor(
        [&] {
            std::error_code error;
            return std::filesystem::file_size(movie, error) > 20'000'000 && !error;
        },
        20s))
        << OvlLog();
    Shot("exporting");
    ExpectEndsWithinTwoSeconds();
    std::error_code error;
    EXPECT_LT(std::filesystem::file_size(movie, error), 1200ull * 480 * 360 * 3) << "the export went on to its end";
}

// "Rajouter toutes les webcams" of a downloaded list of thousands, in the list manager (a modal
// dialog), reached with the keyboard as a person would.
TEST_F(TerminationWholeProgram, WhileAllWebcamsOfAListAreAdded) {
    setenv("ORVELLO_SITE_ROOT", nginx_->Url("").c_str(), 1);
    testsupport::WriteFile(nginx_->root() / "ovlver.txt", "20030225");
    std::string list = "ENCODE\r\n";
    constexpr int kWebcams = 20000;
    for (int i = 1; i <= kWebcams; ++i)
        list += "START\r\nPREF=http://127.0.0.1:1/" + std::to_string(i) + ".jpg\r\nNAME=Webcam " + std::to_string(i) +
                "\r\nREFR=60\r\nENDWC\r\n";
    testsupport::WriteFile(nginx_->root() / "lists" / "big.txt", list);
    testsupport::WriteFile(nginx_->root() / "wclist24url.txt", "Big - many webcams," + Url("lists/big.txt") + "\r\n");
    const bool started = StartOvl();
    unsetenv("ORVELLO_SITE_ROOT");
    ASSERT_TRUE(started);
    const auto focused = [&](const std::string& title, int timeoutMs = 20000) {
        const std::string window = desktop_->WaitForWindow(title, timeoutMs, mainWindow_);
        if (!window.empty()) desktop_->Focus(window);
        return window;
    };
    // Fichier, "Télécharger les listes de Webcams"; a double click on the list downloads it
    // (again until its message comes, as the index may be listed a moment after it was served).
    ASSERT_TRUE(desktop_->Focus(mainWindow_));
    ASSERT_TRUE(desktop_->Keys({"alt+f", "Up", "Up", "Up", "Up", "Return"}));
    const std::string download = focused("^Télécharger la list des Webcams$");
    ASSERT_FALSE(download.empty()) << OvlLog();
    std::string saved;
    for (int attempt = 0; attempt < 10 && saved.empty(); ++attempt) {
        std::this_thread::sleep_for(500ms);
        ASSERT_TRUE(desktop_->Focus(download));
        ASSERT_TRUE(desktop_->Xdo({"mousemove", "--window", download, "60", "38", "click", "--repeat", "2", "--delay",
                                   "80", "1"}));
        saved = focused("^Orvello$", 5000);
    }
    ASSERT_FALSE(saved.empty()) << OvlLog();
    ASSERT_TRUE(desktop_->Keys({"Return"}));
    ASSERT_TRUE(testsupport::WaitFor([&] { return !desktop_->Visible(saved); }, 10s));
    ASSERT_TRUE(desktop_->Focus(download));
    ASSERT_TRUE(desktop_->Keys({"Tab", "space"}));
    ASSERT_FALSE(focused("^Gestionnaire de liste webcams$", 60000).empty()) << OvlLog();
    ASSERT_TRUE(desktop_->Keys({"Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "space"}));
    ASSERT_FALSE(desktop_->WaitForWindow("^Ajout de webcams depuis la liste\\.\\.\\.$", 20000).empty()) << OvlLog();
    std::this_thread::sleep_for(500ms);
    Shot("adding");
    ExpectEndsWithinTwoSeconds();
}

}  // namespace
}  // namespace wholeprogram
