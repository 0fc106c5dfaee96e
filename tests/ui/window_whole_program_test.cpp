// The main window of ovl as a person sees it, under a window manager (openbox) on a private
// Xvfb display: the splash, the window at its default size with its tool bar, a maximised
// window whose placed windows (global saving, enhancement) open on the screen, a webcam with a
// 255-character name that leaves the window within the screen, and captions exactly as the
// forms give them. Screenshots are kept for each step.
#include <gtest/gtest.h>

#include <QImage>
#include <QPoint>
#include <QRect>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "engine/definition_files.h"
#include "engine/regconfig.h"
#include "tests/support/peers.h"
#include "tests/support/webcam_defs.h"
#include "tests/support/xvfb_display.h"
#include "tests/ui/whole_program_fixture.h"

namespace wholeprogram {
namespace {

using namespace std::chrono_literals;

constexpr int kScreenWidth = 1280, kScreenHeight = 1024;  // the fixture's Xvfb screen
// The splash picture: its lightest blue over most of its width, and the ink of its title.
constexpr testsupport::Rgb kSplashSky{0xe9, 0xf1, 0xf8};
constexpr testsupport::Rgb kSplashInk{0x17, 0x3b, 0x5e};

std::string Number(int n) {
    char text[8];
    std::snprintf(text, sizeof text, "%04d", n);
    return text;
}

class WindowWholeProgram : public WholeProgramTest {
protected:
    void TearDown() override {
        if (recorder_ > 0) testsupport::EndProgram(recorder_);
        WholeProgramTest::TearDown();
    }
    // The middle of the screen (640 x 480, where a centred window such as the splash shows)
    // filmed from now on, for at most seconds or until EndProgram(recorder_), as PPM files in
    // frames/: every frame is a real look (no copies to keep a rate), and cheap enough to take
    // that a window shown for a second is seen on a loaded machine.
    std::filesystem::path FilmScreenMiddle(int seconds) {
        const std::filesystem::path frames = temp_.path() / "frames";
        std::filesystem::create_directories(frames);
        const int left = (kScreenWidth - 640) / 2, top = (kScreenHeight - 480) / 2;
        recorder_ = testsupport::StartProgram(
            testsupport::FindProgram("ffmpeg"),
            {"-loglevel", "error", "-f", "x11grab", "-draw_mouse", "0", "-framerate", "25", "-video_size", "640x480",
             "-i", xvfb_->display() + "+" + std::to_string(left) + "," + std::to_string(top), "-t",
             std::to_string(seconds), "-fps_mode", "passthrough", "-c:v", "ppm", (frames / "frame%04d.ppm").string()},
            {}, (temp_.path() / "recorder.log").string());
        const bool filming =
            testsupport::WaitFor([&] { return std::filesystem::exists(frames / "frame0002.ppm"); }, 30s);
        if (!filming) ADD_FAILURE() << "the screen is not being filmed\n" << testsupport::ReadFile(temp_.path() / "recorder.log");
        return frames;
    }
    static testsupport::Screenshot Frame(const std::filesystem::path& file) {
        const QImage image = QImage(QString::fromStdString(file.string())).convertToFormat(QImage::Format_RGB888);
        testsupport::Screenshot shot;
        shot.width = image.width();
        shot.height = image.height();
        for (int y = 0; y < image.height(); ++y)
            shot.rgb.insert(shot.rgb.end(), image.constScanLine(y), image.constScanLine(y) + image.width() * 3);
        return shot;
    }
    void StoreWindowState(int state) {
        engine::tregconfig store;
        engine::TExtraRec extra{};
        store.ReadExtra(extra);
        extra.WindowState = static_cast<std::uint8_t>(state);
        store.WriteExtra(extra);
    }
    static bool OnScreen(const WindowRect& g) {
        return g.x >= 0 && g.y >= 0 && g.x + g.width <= kScreenWidth && g.y + g.height <= kScreenHeight;
    }
    // The window's geometry, which must lie wholly on the screen.
    void ExpectOnScreen(const std::string& window, const char* what) {
        const std::optional<WindowRect> g = RectOf(window);
        ASSERT_TRUE(g.has_value()) << what;
        EXPECT_TRUE(OnScreen(*g)) << what << " at " << g->x << "," << g->y << " " << g->width << "x" << g->height;
    }
    // Opens the global-save dialog with its button, the last control of the status row at the
    // window's bottom right; its window id.
    pid_t recorder_ = -1;

    std::string OpenGlobalSave() {
        const std::optional<WindowRect> main = RectOf(mainWindow_);
        if (!main) return {};
        desktop_->Click(mainWindow_, main->width - 14, main->height - 15);
        return desktop_->WaitForWindow("^Enregistrement glogal des paramètres$", 10000);
    }
    void Close(const std::string& window) {
        desktop_->Focus(window);
        desktop_->Keys({"Escape"});
        testsupport::WaitFor([&] { return !desktop_->Visible(window); }, 10s);
    }
};

TEST_F(WindowWholeProgram, SplashThenTheWindowAtItsDefaultSizeWithItsToolBar) {
    ORVELLO_NEED_PEER("openbox");
    ASSERT_TRUE(StartWindowManager());
    ServePicture("red.jpg", kRed);
    testsupport::WriteWebcamDefs(dataFolder(), {Url("red.jpg")});
    // The splash comes before the main window: the film ends once the window is there. A machine
    // loaded enough can keep the recorder from a frame during the splash's second, so up to three
    // starts are filmed; a splash that never shows fails all three.
    bool splashShown = false;
    for (int start = 1; !splashShown && start <= 3; ++start) {
        if (start > 1) ASSERT_TRUE(StopOvl().has_value()) << OvlLog();
        const std::filesystem::path frames = FilmScreenMiddle(90);
        ASSERT_TRUE(StartOvl({"-AUTOCAP"}));
        testsupport::EndProgram(recorder_);
        recorder_ = -1;
        for (int n = 1; !splashShown && std::filesystem::exists(frames / ("frame" + Number(n) + ".ppm")); ++n) {
            const std::filesystem::path frame = frames / ("frame" + Number(n) + ".ppm");
            const testsupport::Screenshot shot = Frame(frame);
            splashShown = shot.WidestRun(kSplashSky, 8) >= 300 && shot.CountNear(kSplashInk, 16) >= 500;
            if (splashShown)
                QImage(QString::fromStdString(frame.string())).save(QString::fromStdString(ArtifactPath("splash").string()));
        }
        std::filesystem::remove_all(frames);
    }
    EXPECT_TRUE(splashShown) << "no frame of the start shows the splash";
    EXPECT_TRUE(ScreenShows("default_size", [](const testsupport::Screenshot& shot) {
        return shot.CountNear(kRed) >= kThumbnailPixels;
    })) << OvlLog();
    const std::optional<WindowRect> main = RectOf(mainWindow_);
    ASSERT_TRUE(main.has_value());
    EXPECT_EQ(main->width, 1100);  // as stored: nothing made it wider
    ExpectOnScreen(mainWindow_, "main window");
    EXPECT_TRUE(StopOvl().has_value());
}

// The loading window of a long load (5000 webcams) is painted while the load runs: its text,
// count and bar, not a blank body.
TEST_F(WindowWholeProgram, TheLoadingWindowPaintsItsTextAndBarWhileTheWebcamsLoad) {
    ORVELLO_NEED_PEER("openbox");
    ASSERT_TRUE(StartWindowManager());
    std::vector<std::string> urls;
    for (int i = 0; i < 5000; ++i) urls.push_back("http://127.0.0.1:9/" + std::to_string(i) + ".jpg");
    testsupport::WriteWebcamDefs(dataFolder(), urls);
    const std::filesystem::path frames = FilmScreenMiddle(60);
    ASSERT_TRUE(StartOvl());
    const std::string loading = desktop_->WaitForWindow("^Chargement de vos webcams", 20000, mainWindow_);
    ASSERT_FALSE(loading.empty()) << OvlLog();
    const std::optional<WindowRect> rect = RectOf(loading);
    ASSERT_TRUE(rect);
    EXPECT_TRUE(testsupport::WaitFor([&] { return !desktop_->Visible(loading); }, 30s)) << "the load never ended";
    testsupport::EndProgram(recorder_);
    recorder_ = -1;
    // The window in the filmed middle of the screen (640 x 480 at its centre).
    const int left = rect->x - (kScreenWidth - 640) / 2, top = rect->y - (kScreenHeight - 480) / 2;
    ASSERT_TRUE(left >= 0 && top >= 0 && left + rect->width <= 640 && top + rect->height <= 480)
        << rect->x << "," << rect->y << " " << rect->width << "x" << rect->height;
    // A frame with the dark ink of the label and the coloured chunk of the bar inside the window
    // (the splash, filmed before it, has ink and blue too).
    const auto painted = [&](const testsupport::Screenshot& shot) {
        if (shot.WidestRun(kSplashSky, 8) >= 300) return false;
        int ink = 0, bar = 0;
        for (int y = top; y < top + rect->height; ++y)
            for (int x = left; x < left + rect->width; ++x) {
                const std::uint8_t* p = &shot.rgb[(static_cast<std::size_t>(y) * shot.width + x) * 3];
                ink += p[0] < 90 && p[1] < 90 && p[2] < 90;
                bar += p[2] > p[0] + 60 && p[2] > p[1] + 20;
            }
        return ink >= 100 && bar >= 30;
    };
    int filmed = 0;
    bool seen = false;
    for (int n = 1; !seen && std::filesystem::exists(frames / ("frame" + Number(n) + ".ppm")); ++n) {
        const std::filesystem::path frame = frames / ("frame" + Number(n) + ".ppm");
        ++filmed;
        seen = painted(Frame(frame));
        if (seen) QImage(QString::fromStdString(frame.string())).save(QString::fromStdString(ArtifactPath("loading").string()));
    }
    EXPECT_TRUE(seen) << "none of " << filmed << " frames shows the loading window painted";
    std::filesystem::remove_all(frames);
}

TEST_F(WindowWholeProgram, AMaximisedWindowOpensItsPlacedWindowsOnTheScreen) {
    ORVELLO_NEED_PEER("openbox");
    ASSERT_TRUE(StartWindowManager());
    StoreWindowState(2);
    ASSERT_TRUE(StartOvl());
    ASSERT_TRUE(testsupport::WaitFor([&] {
        const std::optional<WindowRect> g = RectOf(mainWindow_);
        return g && g->width == kScreenWidth;
    }, 10s)) << "the window is not maximised";
    Shot("maximised");

    const std::string globalSave = OpenGlobalSave();
    ASSERT_FALSE(globalSave.empty()) << "no global-save dialog (its caption must be exact)\n" << OvlLog();
    ExpectOnScreen(globalSave, "global-save dialog");
    Shot("global_save");
    Close(globalSave);

    // The enhancement window: a right press on "Embellir", at the right end of the current
    // webcam's tool bar.
    const std::optional<WindowRect> main = RectOf(mainWindow_);
    ASSERT_TRUE(main.has_value());
    desktop_->Xdo({"mousemove", "--window", mainWindow_, std::to_string(main->width - 45), "154", "click", "3"});
    const std::string enhance = desktop_->WaitForWindow("^Embellir l'image$", 10000);
    ASSERT_FALSE(enhance.empty()) << "no enhancement window\n" << OvlLog();
    ExpectOnScreen(enhance, "enhancement window");
    Shot("enhancement");
    EXPECT_TRUE(StopOvl().has_value());
}

TEST_F(WindowWholeProgram, ANameOf255CharactersLeavesTheWindowWithinTheScreen) {
    ORVELLO_NEED_PEER("openbox");
    ASSERT_TRUE(StartWindowManager());
    ServePicture("green.jpg", kGreen);
    testsupport::WriteWebcamDefs(dataFolder(), {Url("green.jpg")});
    engine::TWebcamDefRec rec = engine::ReadDefinitionFiles(dataFolder()).at(0).rec1;
    rec.Name.assign(std::string(255, 'W'));
    rec.Description.assign(std::string(255, 'D'));
    ASSERT_TRUE(engine::WriteDefRecord(dataFolder(), 0, rec));
    ASSERT_TRUE(StartOvl({"-AUTOCAP"}));
    EXPECT_TRUE(ScreenShows("long_name", [](const testsupport::Screenshot& shot) {
        return shot.CountNear(kGreen) >= kThumbnailPixels;
    })) << OvlLog();
    ExpectOnScreen(mainWindow_, "main window");
    const std::optional<WindowRect> main = RectOf(mainWindow_);
    ASSERT_TRUE(main.has_value());
    EXPECT_EQ(main->width, 1100);
    EXPECT_TRUE(StopOvl().has_value());
}

// The session's SIGTERM while a modal dialog is open: the dialog is cancelled, the window
// closes in order and the settings are written (DISKMAN is written only by the shutdown).
TEST_F(WindowWholeProgram, ATerminationSignalClosesAnOpenDialogAndTheWindow) {
    ORVELLO_NEED_PEER("openbox");
    ASSERT_TRUE(StartWindowManager());
    ASSERT_TRUE(StartOvl());
    ASSERT_FALSE(OpenGlobalSave().empty()) << OvlLog();
    const std::filesystem::path diskMan = configDir() / "Quenmark" / "Orvello2" / "DISKMAN.bin";
    ASSERT_FALSE(std::filesystem::exists(diskMan));
    const std::optional<int> status = StopOvl();
    ASSERT_TRUE(status.has_value()) << "ovl did not end\n" << OvlLog();
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << *status << "\n" << OvlLog();
    EXPECT_TRUE(std::filesystem::exists(diskMan));
}

// At 1920 x 1080, maximised, with 160 x 120 thumbnails and a split that an earlier session left
// narrower than one of their columns: the grid shows a whole column, clicks on the thumbnails
// never squeeze it, the split is kept across a restart, a webcam without a picture (a dead
// port) leaves nothing of the other's picture in the view, and global saving opens at its
// button in the screen's corner.
class WindowAtFullHd : public WindowWholeProgram {
protected:
    static constexpr int kSqueezedSplit = 150;
    WindowAtFullHd() { screen_ = "1920x1080x24"; }
    void StoreLargeThumbnails() {
        engine::tregconfig store;
        engine::TConfigRec config{};
        store.ReadConfig(config);
        config.LeftPanelWidth = kSqueezedSplit;
        store.WriteConfig(config);
        testsupport::StoreThumbnailSize(160, 120);
        StoreWindowState(2);
    }
    // The box of the red thumbnail in the grid's part of the screen (left of the view): the rows
    // with a run of red, not a red name or status lamp.
    static QRect RedInGrid(const testsupport::Screenshot& shot) {
        QRect box;
        for (int y = 0; y < shot.height; ++y) {
            QRect row;
            for (int x = 0; x < 600 && x < shot.width; ++x) {
                const std::uint8_t* p = &shot.rgb[(static_cast<std::size_t>(y) * shot.width + x) * 3];
                if (p[0] > 215 && p[1] < 40 && p[2] < 40) row |= QRect(x, y, 1, 1);
            }
            if (row.width() >= 40) box |= row;
        }
        return box;
    }
    // Clicks the cell below the red thumbnail (the dead port's, in a one-column grid), then
    // expects the whole red thumbnail in the grid and no red anywhere else.
    void ClickTheDeadPortAndSeeAWholeThumbnail(const std::string& step) {
        ASSERT_TRUE(testsupport::WaitFor([&] {
            const std::optional<WindowRect> g = RectOf(mainWindow_);
            return g && g->width == 1920;
        }, 10s)) << "the window is not maximised";
        QRect red;
        ASSERT_TRUE(ScreenShows(step + "_red", [&](const testsupport::Screenshot& shot) {
            red = RedInGrid(shot);
            return red.width() >= 150;
        })) << OvlLog();
        const QPoint below(red.center().x(), red.bottom() + 26 + 60);
        desktop_->Xdo({"mousemove", std::to_string(below.x()), std::to_string(below.y()), "click", "1"});
        int wholeRed = 0;
        EXPECT_TRUE(ScreenShows(step + "_dead_port", [&](const testsupport::Screenshot& shot) {
            wholeRed = RedInGrid(shot).width();
            return wholeRed >= 155 && shot.CountNear(kRed) < 160 * 120 + 2000;  // the view shows none
        })) << "red thumbnail " << wholeRed << " wide, red box " << red.x() << "," << red.y() << " " << red.width() << "x" << red.height() << "\n" << OvlLog();
    }
};

TEST_F(WindowAtFullHd, LargeThumbnailsKeepAWholeColumnAfterClicksAndARestart) {
    ORVELLO_NEED_PEER("openbox");
    ASSERT_TRUE(StartWindowManager());
    ServePicture("red.jpg", kRed);
    testsupport::WriteWebcamDefs(dataFolder(), {Url("red.jpg"), "http://127.0.0.1:9/dead.jpg"});
    StoreLargeThumbnails();
    for (const char* start : {"first", "restart"}) {
        ASSERT_TRUE(StartOvl({"-AUTOCAP"})) << start;
        ClickTheDeadPortAndSeeAWholeThumbnail(start);
        // The global-save dialog opens at its button, at the window's bottom right, pushed
        // into the screen.
        const std::string globalSave = OpenGlobalSave();
        ASSERT_FALSE(globalSave.empty()) << OvlLog();
        const std::optional<WindowRect> dialog = RectOf(globalSave);
        ASSERT_TRUE(dialog.has_value());
        EXPECT_TRUE(dialog->x >= 0 && dialog->y >= 0 && dialog->x + dialog->width <= 1920 &&
                    dialog->y + dialog->height <= 1080)
            << start << ": " << dialog->x << "," << dialog->y << " " << dialog->width << "x" << dialog->height;
        EXPECT_GE(dialog->x + dialog->width, 1920 - 40) << start;
        EXPECT_GE(dialog->y + dialog->height, 1080 - 60) << start;
        Shot(std::string(start) + "_global_save");
        Close(globalSave);
        ASSERT_TRUE(StopOvl().has_value()) << OvlLog();
        engine::tregconfig store;
        engine::TConfigRec config{};
        store.ReadConfig(config);
        EXPECT_EQ(config.LeftPanelWidth, kSqueezedSplit) << start;  // the user's, kept
    }
}

}  // namespace
}  // namespace wholeprogram
