// ovlsaver as a whole on a private Xvfb display: the saved pictures full screen with their
// caption and the end on a key, the settings dialog, one instance at a time, not beside ovl,
// drawing into a window the test made as a screen-saver daemon would, and ending on SIGTERM as
// the daemon asks. Screenshots are kept in build/artifacts/whole_program/.
#include "platform/lock_file.h"
#include "tests/saver/saver_fixture.h"
#include "tests/support/desktop_session.h"
#include "tests/support/peers.h"
#include "tests/support/plain_user.h"
#include "tests/support/plain_x_window.h"
#include "tests/support/program_artifacts.h"
#include "tests/support/xvfb_display.h"

#include <signal.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <functional>
#include <memory>
#include <thread>

namespace {

using namespace std::chrono_literals;
using savertest::BuiltProgram;
using savertest::WebcamSpec;

constexpr testsupport::Rgb kRed{255, 0, 0};
constexpr testsupport::Rgb kCaptionGreen{0, 128, 0};

using HostWindow = testsupport::PlainXWindow;

class SaverProgram : public savertest::SaverTest {
protected:
    void SetUp() override {
        SaverTest::SetUp();
        ORVELLO_NEED_PEER("Xvfb");
        ORVELLO_NEED_PEER("xdotool");
        ORVELLO_NEED_PEER("ffmpeg");
        xvfb_ = std::make_unique<testsupport::XvfbDisplay>();
        ASSERT_FALSE(xvfb_->display().empty()) << "Xvfb did not start";
        desktop_ = std::make_unique<testsupport::DesktopSession>(xvfb_->display());
        WriteSavedRedWebcam();
    }
    void TearDown() override {
        for (pid_t pid : started_) testsupport::EndProgram(pid);
        desktop_.reset();
        xvfb_.reset();
        SaverTest::TearDown();
    }

    pid_t Start(const char* program, const std::vector<std::string>& arguments,
                std::vector<std::string> environment = {}) {
        const std::string path = BuiltProgram(program);
        EXPECT_TRUE(std::filesystem::exists(path)) << path;
        environment.push_back("DISPLAY=" + xvfb_->display());
        environment.push_back("QT_QPA_PLATFORM=xcb");
        const std::filesystem::path suppressions = temp_.path() / "lsan.supp";
        testsupport::WriteFile(suppressions, "leak:libdbus-1.so\n");
        environment.push_back("LSAN_OPTIONS=suppressions=" + suppressions.string());
        const pid_t pid = testsupport::StartProgram(path, arguments, environment,
                                                    (temp_.path() / (std::string(program) + std::to_string(started_.size()) + ".log")).string());
        started_.push_back(pid);
        return pid;
    }
    std::string Log(std::size_t n, const char* program = "ovlsaver") const {
        return testsupport::ReadFile(temp_.path() / (std::string(program) + std::to_string(n) + ".log"));
    }
    static bool EndsAtOnce(pid_t pid, std::chrono::milliseconds within = 20s) {
        const auto status = testsupport::WaitForChild(pid, within);
        return status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0;
    }
    static bool NothingHolds(const char* lock) {
        platform::LockFile probe(lock);
        return probe.Acquire() == platform::LockFile::Result::Created;
    }
    std::filesystem::path Artifact(const std::string& step) const {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        return testsupport::ProgramArtifactFolder() / (std::string(test->test_suite_name()) + "_" + test->name() + "_" + step + ".png");
    }
    // Screenshots until one satisfies condition (the last one kept as the step's artifact).
    bool ScreenShows(const std::string& step, const std::function<bool(const testsupport::Screenshot&)>& condition) {
        const auto deadline = std::chrono::steady_clock::now() + 20s;
        for (;;) {
            const auto shot = desktop_->Grab();
            const bool shown = shot && condition(*shot);
            if (shown || std::chrono::steady_clock::now() > deadline) {
                desktop_->Grab(Artifact(step));
                return shown;
            }
            std::this_thread::sleep_for(200ms);
        }
    }

    std::unique_ptr<testsupport::XvfbDisplay> xvfb_;
    std::unique_ptr<testsupport::DesktopSession> desktop_;
    std::vector<pid_t> started_;
};

TEST_F(SaverProgram, ShowsASavedPictureFullScreenAndEndsOnAKey) {
    const pid_t saver = Start("ovlsaver", {"/s"});
    const std::string window = desktop_->WaitForWindow("^Orvello Screen Saver$", 20000);
    ASSERT_FALSE(window.empty()) << Log(0);
    // A 64 x 48 picture fitted to a 1280 x 983 area: 1280 wide; the caption in green below.
    EXPECT_TRUE(ScreenShows("picture", [](const testsupport::Screenshot& shot) {
        return shot.WidestRun(kRed) >= 1200 && shot.CountNear(kCaptionGreen, 30) > 50;
    })) << Log(0);
    ASSERT_TRUE(desktop_->Focus(window));
    ASSERT_TRUE(desktop_->Keys({"space"}));
    EXPECT_TRUE(EndsAtOnce(saver)) << Log(0);
}

TEST_F(SaverProgram, SettingsDialogOpens) {
    const pid_t saver = Start("ovlsaver", {"/c"});
    const std::string window = desktop_->WaitForWindow("^Orvello Screen Saver Setup$", 20000);
    ASSERT_FALSE(window.empty()) << Log(0);
    std::this_thread::sleep_for(500ms);  // let it paint before the kept screenshot
    ASSERT_TRUE(desktop_->Grab(Artifact("dialog")));
    ASSERT_TRUE(desktop_->Focus(window));
    ASSERT_TRUE(desktop_->Keys({"Escape"}));
    EXPECT_TRUE(EndsAtOnce(saver)) << Log(0);
}

TEST_F(SaverProgram, RunsOnceOnlyAndACrashedHolderDoesNotBlock) {
    const pid_t first = Start("ovlsaver", {"/s"});
    ASSERT_FALSE(desktop_->WaitForWindow("^Orvello Screen Saver$", 20000).empty()) << Log(0);
    EXPECT_TRUE(EndsAtOnce(Start("ovlsaver", {"/s"}))) << Log(1);
    EXPECT_TRUE(EndsAtOnce(Start("ovlsaver", {"/c"}))) << Log(2);
    kill(first, SIGKILL);
    ASSERT_TRUE(testsupport::WaitForChild(first, 20s));
    const pid_t next = Start("ovlsaver", {"-S"});
    EXPECT_FALSE(desktop_->WaitForWindow("^Orvello Screen Saver$", 20000).empty()) << Log(3);
    EXPECT_FALSE(testsupport::WaitForChild(next, 0ms)) << "the new saver ended";
}

TEST_F(SaverProgram, DoesNotRunBesideOvlWhenNotAllowed) {
    const pid_t ovl = Start("ovl", {});
    ASSERT_FALSE(desktop_->WaitForWindow("^Orvello$", 30000).empty()) << Log(0, "ovl");
    EXPECT_TRUE(EndsAtOnce(Start("ovlsaver", {"/s"}))) << Log(1);
    testsupport::EndProgram(ovl);
    // Allowed beside it: it runs.
    StoreSaverSettings([](engine::TExtra1Rec& r) { r.SaverWithMain = 1; });
    platform::LockFile ovlRunning("OVL");
    ASSERT_EQ(ovlRunning.Acquire(), platform::LockFile::Result::Created);
    Start("ovlsaver", {"/s"});
    EXPECT_FALSE(desktop_->WaitForWindow("^Orvello Screen Saver$", 20000).empty()) << Log(2);
}

TEST_F(SaverProgram, DrawsIntoTheWindowTheDaemonHandsOver) {
    HostWindow host(xvfb_->display(), 100, 100, 400, 300);
    ASSERT_NE(host.id(), 0u);
    Start("ovlsaver", {"/s"}, {"XSCREENSAVER_WINDOW=" + std::to_string(host.id())});
    // The 4:3 picture fitted to the window's 400 x 259 above the caption: 345 x 259, and
    // nothing drawn beyond the window.
    EXPECT_TRUE(ScreenShows("host_window", [](const testsupport::Screenshot& shot) {
        return shot.WidestRun(kRed) >= 340 && shot.WidestRun(kRed) <= 350 && shot.CountNear(kRed) > 330 * 250 &&
               shot.CountNear(kRed) <= 400 * 259 && shot.CountNear(kCaptionGreen, 30) > 50;
    })) << Log(0);
}

// As xscreensaver ends a saver on deactivation: SIGTERM, and the next activation starts one
// that shows a picture again. Embedded in the daemon's window, full screen, and the settings
// dialog; each twice in a row.
TEST_F(SaverProgram, EndsOnSigtermAndTheNextStartRunsAgain) {
    HostWindow host(xvfb_->display(), 100, 100, 400, 300);
    ASSERT_NE(host.id(), 0u);
    const auto inHost = [](const testsupport::Screenshot& shot) {
        return shot.WidestRun(kRed) >= 340 && shot.WidestRun(kRed) <= 350;
    };
    const auto fullScreen = [](const testsupport::Screenshot& shot) { return shot.WidestRun(kRed) >= 1200; };
    const auto noPicture = [](const testsupport::Screenshot& shot) { return shot.CountNear(kRed) < 100; };
    struct Case {
        const char* name;
        const char* mode;
        bool hosted;
        std::function<bool(const testsupport::Screenshot&)> shown;  // none: the settings dialog
    };
    const Case cases[] = {
        {"embedded", "/s", true, inHost},
        {"full_screen", "/s", false, fullScreen},
        {"settings_dialog", "/c", false, nullptr},
    };
    for (const Case& c : cases) {
        for (int round = 1; round <= 2; ++round) {
            SCOPED_TRACE(std::string(c.name) + " round " + std::to_string(round));
            std::vector<std::string> environment;
            if (c.hosted) environment.push_back("XSCREENSAVER_WINDOW=" + host.name());
            const std::size_t n = started_.size();
            const pid_t saver = Start("ovlsaver", {c.mode}, environment);
            const std::string step = std::string(c.name) + "_" + std::to_string(round);
            if (c.shown) {
                ASSERT_TRUE(ScreenShows(step, c.shown)) << Log(n);
            } else {
                ASSERT_FALSE(desktop_->WaitForWindow("^Orvello Screen Saver Setup$", 20000).empty()) << Log(n);
            }
            kill(saver, SIGTERM);
            EXPECT_TRUE(EndsAtOnce(saver, 1s)) << Log(n);
            EXPECT_TRUE(NothingHolds("OVLSaver"));
            EXPECT_TRUE(NothingHolds("OVLSaverHosted"));
            EXPECT_TRUE(NothingHolds("OVL"));
            if (c.shown) {
                ASSERT_TRUE(ScreenShows(step + "_ended", noPicture)) << Log(n);
            }
        }
    }
}

// ovl starting while a saver holds "OVL" holds it too: once that saver has ended, a saver that
// may not run beside ovl still ends at once.
TEST_F(SaverProgram, OvlStartedBesideASaverStillKeepsTheNextOneAway) {
    const pid_t first = Start("ovlsaver", {"/s"});
    ASSERT_TRUE(ScreenShows("first_saver", [](const testsupport::Screenshot& shot) {
        return shot.WidestRun(kRed) >= 1200;
    })) << Log(0);
    const pid_t ovl = Start("ovl", {});
    ASSERT_FALSE(desktop_->WaitForWindow("^Orvello$", 30000).empty()) << Log(1, "ovl");
    kill(first, SIGTERM);
    ASSERT_TRUE(EndsAtOnce(first)) << Log(0);
    EXPECT_TRUE(EndsAtOnce(Start("ovlsaver", {"/s"}))) << Log(2);
    EXPECT_FALSE(testsupport::WaitForChild(ovl, 0ms)) << "ovl ended";
}

// Full screen without a daemon the saver takes the keyboard: a key ends it although another
// window had the focus when it started, and has it again while the saver shows.
TEST_F(SaverProgram, FullScreenSaverEndsOnAKeyWhileAnotherWindowHadTheFocus) {
    HostWindow other(xvfb_->display(), 50, 50, 300, 200, /*ordinary=*/true);
    ASSERT_TRUE(testsupport::WaitFor([&] { return desktop_->Visible(other.name()); }, 20s));
    ASSERT_TRUE(desktop_->Focus(other.name()));
    const pid_t saver = Start("ovlsaver", {"/s"});
    ASSERT_TRUE(ScreenShows("picture", [](const testsupport::Screenshot& shot) {
        return shot.WidestRun(kRed) >= 1200;
    })) << Log(0);
    ASSERT_TRUE(desktop_->Focus(other.name()));
    ASSERT_TRUE(desktop_->Keys({"space"}));
    EXPECT_TRUE(EndsAtOnce(saver, 5s)) << Log(0);
}

// The real daemon: xscreensaver running ovlsaver from its programs: list, as the README sets it
// up. It runs hacks only as a plain user: run as root, the test gives the daemon, a copy of
// ovlsaver and the test's folders to "nobody", who may not reach the build folder.
TEST_F(SaverProgram, RunsUnderXscreensaverAgainAfterEachDeactivation) {
    ORVELLO_NEED_PEER("xscreensaver");
    ORVELLO_NEED_PEER("xscreensaver-command");
    ORVELLO_NEED_PEER("setpriv");
    testsupport::PlainUser user;
    const std::string saver = user.Runnable(BuiltProgram("ovlsaver"));
    ASSERT_FALSE(saver.empty());
    const std::filesystem::path home = temp_.path() / "home";
    testsupport::WriteFile(home / ".xscreensaver",
                           "mode: one\nselected: 0\ntimeout: 0:30:00\nlock: False\nsplash: False\nfade: False\n"
                           "unfade: False\nprograms: \"Orvello\" " + saver + " /s \\n\\\n\n");
    ASSERT_TRUE(user.HandOver(temp_.path()));
    // The daemon hands the saver its own environment: the test's settings, data and locks.
    const std::vector<std::string> environment{"HOME=" + home.string(), "DISPLAY=" + xvfb_->display(),
                                               "QT_QPA_PLATFORM=xcb"};
    const auto run = [&](const std::string& program, const std::vector<std::string>& arguments) {
        return user.Start(program, arguments, environment,
                          (temp_.path() / ("daemon" + std::to_string(started_.size()) + ".log")).string());
    };
    const pid_t daemon = run(testsupport::FindProgram("xscreensaver"), {"-no-splash"});
    ASSERT_GT(daemon, 0);
    started_.push_back(daemon);
    const auto command = [&](const char* what) {
        const pid_t pid = run(testsupport::FindProgram("xscreensaver-command"), {what});
        const auto status = testsupport::WaitForChild(pid, 10s);
        return status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0;
    };
    const auto daemonLog = [&] { return testsupport::ReadFile(temp_.path() / "daemon0.log"); };
    for (int round = 1; round <= 2; ++round) {
        SCOPED_TRACE("activation " + std::to_string(round));
        // The daemon may take a moment before it answers its first command.
        ASSERT_TRUE(testsupport::WaitFor([&] { return command("-activate"); }, 20s)) << daemonLog();
        ASSERT_TRUE(ScreenShows("activation_" + std::to_string(round), [](const testsupport::Screenshot& shot) {
            return shot.WidestRun(kRed) >= 1200;
        })) << daemonLog();
        ASSERT_TRUE(command("-deactivate")) << daemonLog();
        // The daemon's own helpers end the saver, and on a loaded machine they take their time:
        // the one-second bound of our side is the test above; here the saver must simply end.
        EXPECT_TRUE(testsupport::WaitFor([] { return NothingHolds("OVLSaverHosted"); }, 10s)) << daemonLog();
        ASSERT_TRUE(ScreenShows("deactivated_" + std::to_string(round), [](const testsupport::Screenshot& shot) {
            return shot.CountNear(kRed) < 100;
        })) << daemonLog();
    }
}

}  // namespace
