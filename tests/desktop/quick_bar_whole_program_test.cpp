// The quick bar in the whole program, on a private X display with openbox: "Doroza" opens the
// bar docked at the top with one button per stored webcam showing its thumbnail, a new picture
// frames its button, and after a restart the bar is open again with the same buttons.
// Screenshots are kept in build/artifacts/whole_program/.

#include <gtest/gtest.h>

#include <thread>

#include "desktop/app_bar_settings.h"
#include "desktop/quick_bar_store.h"
#include "engine/regconfig.h"
#include "platform/settings_store.h"
#include "tests/desktop/quick_bar_whole_program_fixture.h"
#include "tests/desktop/x11_session.h"
#include "tests/support/peers.h"
#include "tests/support/run_program.h"
#include "tests/support/webcam_defs.h"

namespace wholeprogram {
namespace {

constexpr testsupport::Rgb kLime{0, 255, 0};

// Pixels of the colour in the band of the screen above y.
int CountAbove(const testsupport::Screenshot& shot, int y, testsupport::Rgb colour) {
    testsupport::Screenshot band = shot;
    band.height = std::min(y, shot.height);
    band.rgb.resize(static_cast<std::size_t>(band.width) * band.height * 3);
    return band.CountNear(colour, 60);
}

TEST_F(QuickBarWholeProgram, DorozaOpensTheBarWithItsButtonsAndARestartOpensItAgain) {
    ServePicture("red.jpg", kRed);
    ServePicture("blue.jpg", kBlue);
    testsupport::WriteWebcamDefs(dataFolder(), {Url("red.jpg"), Url("blue.jpg")}, 2);
    {
        platform::SettingsKey key(desktop::kQuickBarKey, true);
        key.WriteString("0", "Cam1");
        key.WriteString("1", "Cam2");
    }
    ASSERT_TRUE(StartOvl({"-AUTOCAP"}));
    ASSERT_TRUE(testsupport::WaitFor([&] { return Requests("red.jpg") > 1 && Requests("blue.jpg") > 1; },
                                     std::chrono::seconds(30)));
    EXPECT_EQ(WorkArea()[1], 0);

    // "Doroza" is the tool bar's last button, an image 379 pixels from the window's left edge
    // on the tool bar's row.
    const std::optional<Geometry> main = WindowGeometry(mainWindow_);
    ASSERT_TRUE(main);
    Shot("before_doroza");
    ASSERT_TRUE(desktop_->Xdo({"mousemove", "--window", mainWindow_, "379", "38", "click", "1"}));

    // Docked at the top, 80 pixels high, with the red and the blue webcam's buttons; the blue
    // one, not the current webcam, framed for its new picture.
    EXPECT_TRUE(testsupport::WaitFor([&] { return WorkArea()[1] == 80; }, std::chrono::seconds(20)))
        << "work area top " << WorkArea()[1] << "\n" << OvlLog();
    EXPECT_TRUE(ScreenShows("doroza_open", [](const testsupport::Screenshot& s) {
        return CountAbove(s, 80, kRed) > 2500 && CountAbove(s, 80, kBlue) > 2500 && CountAbove(s, 80, kLime) > 100;
    }));

    // Ended as the session ends it: the bar stays marked open and comes back with its buttons.
    const std::optional<int> status = StopOvl();
    ASSERT_TRUE(status) << OvlLog();
    EXPECT_EQ(desktop::ReadQuickBarNames(), (std::vector<std::string>{"Cam1", "Cam2"}));
    EXPECT_TRUE(testsupport::WaitFor([&] { return WorkArea()[1] == 0; }, std::chrono::seconds(10)));
    ASSERT_TRUE(StartOvl());
    EXPECT_TRUE(testsupport::WaitFor([&] { return WorkArea()[1] == 80; }, std::chrono::seconds(20)))
        << "work area top " << WorkArea()[1] << "\n" << OvlLog();
    EXPECT_TRUE(ScreenShows("reopened", [](const testsupport::Screenshot& s) {
        return CountAbove(s, 80, kRed) > 2500 && CountAbove(s, 80, kBlue) > 2500;
    }));
}

// A bar floating partly off the left edge (where a Ctrl-drag leaves it) is mapped again, in the
// same place, each time "Doroza" closes and opens it.
TEST_F(QuickBarWholeProgram, ABarFloatingOffTheLeftEdgeComesBackInPlaceEachTimeDorozaOpensIt) {
    ServePicture("red.jpg", kRed);
    testsupport::WriteWebcamDefs(dataFolder(), {Url("red.jpg")});
    desktop::TAppBarSettings stored = desktop::DefaultAppBarSettings({0, 0, 1280, 1024});
    stored.Edge = desktop::abeFloat;
    stored.SetFloatRect({-150, 340, 150, 444});
    ASSERT_TRUE(desktop::WriteAppBarSettings(stored));
    ASSERT_TRUE(StartOvl());
    const auto doroza = [&] { return desktop_->Xdo({"mousemove", "--window", mainWindow_, "379", "38", "click", "1"}); };
    ASSERT_TRUE(doroza());
    std::string bar = desktop_->WaitForWindow("^Doroza$", 10000, mainWindow_);
    ASSERT_FALSE(bar.empty()) << OvlLog();
    const std::optional<Geometry> first = WindowGeometry(bar);
    ASSERT_TRUE(first);
    EXPECT_LT(first->x, 0);
    for (int round = 1; round <= 5; ++round) {
        SCOPED_TRACE(round);
        ASSERT_TRUE(doroza());  // closes
        ASSERT_TRUE(testsupport::WaitFor([&] { return !desktop_->Visible(bar); }, std::chrono::seconds(10)));
        ASSERT_TRUE(doroza());  // opens again
        bar = desktop_->WaitForWindow("^Doroza$", 10000, mainWindow_);
        ASSERT_FALSE(bar.empty()) << "the bar was not mapped again\n" << OvlLog();
        const std::optional<Geometry> again = WindowGeometry(bar);
        ASSERT_TRUE(again);
        EXPECT_TRUE(again->x == first->x && again->y == first->y) << again->x << "," << again->y;
    }
    Shot("reopened");
}

// A floating bar offers the window manager neither minimise nor maximise, and one minimised all
// the same (there is no task bar to bring it back from) is shown again at once.
TEST_F(QuickBarWholeProgram, AFloatingBarCannotBeMinimisedOrMaximised) {
    ServePicture("red.jpg", kRed);
    testsupport::WriteWebcamDefs(dataFolder(), {Url("red.jpg")});
    desktop::TAppBarSettings stored = desktop::DefaultAppBarSettings({0, 0, 1280, 1024});
    stored.Edge = desktop::abeFloat;
    stored.SetFloatRect({400, 300, 700, 404});
    ASSERT_TRUE(desktop::WriteAppBarSettings(stored));
    ASSERT_TRUE(StartOvl());
    ASSERT_TRUE(desktop_->Xdo({"mousemove", "--window", mainWindow_, "379", "38", "click", "1"}));
    const std::string bar = desktop_->WaitForWindow("^Doroza$", 10000, mainWindow_);
    ASSERT_FALSE(bar.empty()) << OvlLog();
    const testsupport::ProgramResult actions =
        testsupport::RunProgram({"xprop", "-display", xvfb_->display(), "-id", bar, "_NET_WM_ALLOWED_ACTIONS"});
    ASSERT_EQ(actions.exit_code, 0) << actions.err;
    EXPECT_NE(actions.out.find("_NET_WM_ACTION_CLOSE"), std::string::npos) << actions.out;
    EXPECT_EQ(actions.out.find("_NET_WM_ACTION_MINIMIZE"), std::string::npos) << actions.out;
    EXPECT_EQ(actions.out.find("_NET_WM_ACTION_MAXIMIZE"), std::string::npos) << actions.out;

    ASSERT_TRUE(desktop_->Xdo({"windowminimize", bar}));
    std::this_thread::sleep_for(std::chrono::seconds(1));
    EXPECT_TRUE(testsupport::WaitFor([&] { return desktop_->Visible(bar); }, std::chrono::seconds(5)))
        << "the minimised bar stayed out of reach\n" << OvlLog();
    Shot("after_minimise");
}

// With the quick bar open, minimising the main window hides it (no task-bar entry, no icon): the
// bar is the way back, and a click on one of its buttons brings the window again.
TEST_F(QuickBarWholeProgram, WithTheBarOpenMinimisingHidesTheMainWindowAndTheBarBringsItBack) {
    ServePicture("red.jpg", kRed);
    testsupport::WriteWebcamDefs(dataFolder(), {Url("red.jpg")});
    platform::SettingsKey(desktop::kQuickBarKey, true).WriteString("0", "Cam1");
    ASSERT_TRUE(StartOvl({"-AUTOCAP"}));
    // The webcams are loaded (and the bar finds its button's webcam) once the first is fetched.
    ASSERT_TRUE(testsupport::WaitFor([&] { return Requests("red.jpg") > 0; }, std::chrono::seconds(30)));
    ASSERT_TRUE(desktop_->Xdo({"mousemove", "--window", mainWindow_, "379", "38", "click", "1"}));
    ASSERT_TRUE(testsupport::WaitFor([&] { return WorkArea()[1] == 80; }, std::chrono::seconds(20))) << OvlLog();
    const auto state = [&] {
        const testsupport::ProgramResult r =
            testsupport::RunProgram({"xprop", "-display", xvfb_->display(), "-id", mainWindow_, "WM_STATE"});
        const auto at = r.out.find("window state: ");
        return at == std::string::npos ? std::string("none") : r.out.substr(at + 14, r.out.find('\n', at) - at - 14);
    };
    ASSERT_EQ(state(), "Normal");

    ASSERT_TRUE(desktop_->Xdo({"windowminimize", mainWindow_}));
    EXPECT_TRUE(testsupport::WaitFor([&] { return state() == "Withdrawn" || state() == "none"; }, std::chrono::seconds(10)))
        << "main window " << state() << "\n" << OvlLog();
    Shot("main_window_hidden");
    EXPECT_EQ(WorkArea()[1], 80);  // the bar stays

    // The bar's first button: beside the 18-pixel gripper, along the top.
    ASSERT_TRUE(desktop_->Xdo({"mousemove", "64", "36", "click", "1"}));

    EXPECT_TRUE(testsupport::WaitFor([&] { return state() == "Normal" && desktop_->Visible(mainWindow_); },
                                     std::chrono::seconds(10)))
        << "main window " << state() << "\n" << OvlLog();
}

}  // namespace
}  // namespace wholeprogram
