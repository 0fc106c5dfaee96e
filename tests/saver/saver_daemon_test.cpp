// ovlsaver through what a screen-saver daemon does to it, on a private Xvfb display: the real
// xscreensaver (run as a plain user, as it insists) keeping a saver that may not run from being
// relaunched, one picture per screen, a saver ending when the daemon's graphics process dies;
// a window of the test's own as the daemon's for the start-up messages; and, full screen
// without a daemon, a pointer grab that another client cannot break. Screenshots are kept in
// build/artifacts/whole_program/.
#include "platform/lock_file.h"
#include "tests/saver/saver_fixture.h"
#include "tests/support/desktop_session.h"
#include "tests/support/peers.h"
#include "tests/support/plain_user.h"
#include "tests/support/plain_x_window.h"
#include "tests/support/program_artifacts.h"
#include "tests/support/window_manager.h"
#include "tests/support/xvfb_display.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <thread>

namespace {

using namespace std::chrono_literals;

constexpr testsupport::Rgb kRed{255, 0, 0};
constexpr testsupport::Rgb kCaptionGreen{0, 128, 0};

std::string BuiltSaver() { return savertest::BuiltProgram("ovlsaver"); }

// Numeric field n (1-based, 4 or later) of /proc/<pid>/stat; -1 when the process is gone.
long long StatField(pid_t pid, int n) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t close = text.rfind(')');
    if (close == std::string::npos) return -1;
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    for (int i = 3; i <= n && fields >> field; ++i) {
        if (i == n) return std::stoll(field);
    }
    return -1;
}

// Running, not a zombie left for its parent to collect.
bool Alive(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t close = text.rfind(')');
    return close != std::string::npos && close + 2 < text.size() && text[close + 2] != 'Z';
}

// A second X client: the pointer grab it can or cannot get.
bool PointerGrabbedByAnother(const std::string& display) {
    xcb_connection_t* connection = xcb_connect(display.c_str(), nullptr);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return false;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    xcb_grab_pointer_reply_t* reply = xcb_grab_pointer_reply(
        connection,
        xcb_grab_pointer(connection, 0, root, XCB_EVENT_MASK_BUTTON_PRESS, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC,
                         XCB_NONE, XCB_NONE, XCB_CURRENT_TIME),
        nullptr);
    const bool refused = reply && reply->status == XCB_GRAB_STATUS_ALREADY_GRABBED;
    std::free(reply);
    xcb_disconnect(connection);  // lets a grab it got go
    return refused;
}

class SaverDaemon : public savertest::SaverTest {
protected:
    void SetUp() override {
        SaverTest::SetUp();
        ORVELLO_NEED_PEER("Xvfb");
        ORVELLO_NEED_PEER("xdotool");
        ORVELLO_NEED_PEER("ffmpeg");
        WriteSavedRedWebcam();
        testsupport::WriteFile(temp_.path() / "lsan.supp", "leak:libdbus-1.so\n");
    }
    void TearDown() override {
        for (pid_t pid : started_) testsupport::EndProgram(pid);
        for (pid_t pid : Starts()) testsupport::EndProgram(pid);  // the daemon's children are not ours
        xvfb_.reset();
        SaverTest::TearDown();
    }

    void StartDisplay(int screens = 1) {
        xvfb_ = std::make_unique<testsupport::XvfbDisplay>("1280x1024x24", screens);
        ASSERT_FALSE(xvfb_->display().empty()) << "Xvfb did not start";
    }
    testsupport::DesktopSession Screen(int n = 0) const { return testsupport::DesktopSession(xvfb_->display() + "." + std::to_string(n)); }

    std::vector<std::string> Environment(std::vector<std::string> environment = {}) const {
        environment.push_back("DISPLAY=" + xvfb_->display());
        environment.push_back("QT_QPA_PLATFORM=xcb");
        environment.push_back("LSAN_OPTIONS=suppressions=" + (temp_.path() / "lsan.supp").string());
        return environment;
    }
    pid_t Start(const std::vector<std::string>& command, const std::vector<std::string>& environment, const std::string& log) {
        const pid_t pid = testsupport::StartProgram(command.front(), {command.begin() + 1, command.end()},
                                                    Environment(environment), (temp_.path() / log).string());
        started_.push_back(pid);
        return pid;
    }
    std::string Log(const std::string& name) const { return testsupport::ReadFile(temp_.path() / name); }

    std::filesystem::path Artifact(const std::string& step) const {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        return testsupport::ProgramArtifactFolder() /
               (std::string(test->test_suite_name()) + "_" + test->name() + "_" + step + ".png");
    }
    bool ScreenShows(const std::string& step, const std::function<bool(const testsupport::Screenshot&)>& condition,
                     int screen = 0) {
        const testsupport::DesktopSession session = Screen(screen);
        const auto deadline = std::chrono::steady_clock::now() + 20s;
        for (;;) {
            const auto shot = session.Grab();
            const bool shown = shot && condition(*shot);
            if (shown || std::chrono::steady_clock::now() > deadline) {
                session.Grab(Artifact(step));
                return shown;
            }
            std::this_thread::sleep_for(200ms);
        }
    }
    static bool FullPicture(const testsupport::Screenshot& shot) { return shot.WidestRun(kRed) >= 1200; }

    // The daemon, started as a plain user with its own home; it runs ovlsaver through a script
    // that notes each start's process id first. Run as root, the daemon's user gets its own copy
    // of ovlsaver and the test's folder, since the build folder may sit where it cannot reach.
    void StartDaemon() {
        ORVELLO_NEED_PEER("xscreensaver");
        ORVELLO_NEED_PEER("xscreensaver-command");
        if (user_.Changes()) ORVELLO_NEED_PEER("setpriv");
        const std::string saver = user_.Runnable(BuiltSaver());
        ASSERT_FALSE(saver.empty());
        const std::filesystem::path home = temp_.path() / "home";
        const std::filesystem::path launcher = temp_.path() / "launch";
        // The shell keeps the last of two entries of a name, the test's own offscreen one.
        testsupport::WriteFile(launcher, "#!/bin/sh\necho $$ >> " + (temp_.path() / "starts").string() +
                                             "\nQT_QPA_PLATFORM=xcb exec " + saver + " \"$@\"\n");
        ASSERT_EQ(chmod(launcher.c_str(), 0755), 0);
        testsupport::WriteFile(home / ".xscreensaver",
                               "mode: one\nselected: 0\ntimeout: 0:30:00\nlock: False\nsplash: False\nfade: False\n"
                               "unfade: False\nprograms: \"Orvello\" " + launcher.string() + " /s \\n\\\n\n");
        testsupport::WriteFile(temp_.path() / "starts", "");
        ASSERT_TRUE(user_.HandOver(temp_.path()));
        environment_ = {"HOME=" + home.string()};
        daemon_ = AsUser({testsupport::FindProgram("xscreensaver"), "-no-splash"}, "daemon.log");
        ASSERT_GT(daemon_, 0);
    }
    pid_t AsUser(const std::vector<std::string>& command, const std::string& log) {
        const pid_t pid = user_.Start(command.front(), {command.begin() + 1, command.end()},
                                      Environment(environment_), (temp_.path() / log).string());
        started_.push_back(pid);
        return pid;
    }
    bool Command(const char* what) {
        const pid_t pid = AsUser({testsupport::FindProgram("xscreensaver-command"), what}, "command.log");
        const auto status = testsupport::WaitForChild(pid, 10s);
        return status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0;
    }
    // The daemon may take a moment before it answers its first command.
    bool Activate() { return testsupport::WaitFor([&] { return Command("-activate"); }, 20s); }
    std::string DaemonLog() const {
        return Log("daemon.log") + Log("command.log") + (Alive(daemon_) ? "" : "(the daemon has ended)\n");
    }
    std::vector<pid_t> Starts() const {
        std::vector<pid_t> pids;
        std::istringstream lines(testsupport::ReadFile(temp_.path() / "starts"));
        for (pid_t pid; lines >> pid;) pids.push_back(pid);
        return pids;
    }
    // Holds the "OVL" lock as ovl does, as the user the savers run as; ends with the test.
    void HoldAsOvl() {
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            if (user_.Changes() && (setgid(user_.Gid()) != 0 || setuid(user_.Uid()) != 0)) _exit(1);
            platform::LockFile running("OVL");
            const char ok = running.Acquire() == platform::LockFile::Result::Created ? 'y' : 'n';
            (void)!write(ready[1], &ok, 1);
            pause();
            _exit(0);
        }
        started_.push_back(pid);
        char answer = 0;
        ASSERT_EQ(read(ready[0], &answer, 1), 1);
        close(ready[0]);
        close(ready[1]);
        ASSERT_EQ(answer, 'y');
    }

    std::unique_ptr<testsupport::XvfbDisplay> xvfb_;
    std::vector<pid_t> started_;
    testsupport::PlainUser user_;
    std::vector<std::string> environment_;
    pid_t daemon_ = -1;
};

// ovl runs and the saver may not run beside it: it stays in the daemon's window, black and
// idle, instead of ending and being started again and again; deactivation ends it.
TEST_F(SaverDaemon, SaverThatMayNotRunStaysIdleInsteadOfBeingRelaunched) {
    ASSERT_NO_FATAL_FAILURE(StartDisplay());
    ASSERT_NO_FATAL_FAILURE(StartDaemon());
    ASSERT_NO_FATAL_FAILURE(HoldAsOvl());
    ASSERT_TRUE(Activate()) << DaemonLog();
    ASSERT_TRUE(testsupport::WaitFor([&] { return !Starts().empty(); }, 20s)) << DaemonLog();
    const pid_t saver = Starts().front();
    std::this_thread::sleep_for(1s);  // past its start-up
    const long long before = StatField(saver, 14) + StatField(saver, 15);
    std::this_thread::sleep_for(3s);
    const long long used = StatField(saver, 14) + StatField(saver, 15) - before;
    EXPECT_EQ(Starts().size(), 1u) << DaemonLog();
    EXPECT_TRUE(Alive(saver)) << DaemonLog();
    EXPECT_LT(used, sysconf(_SC_CLK_TCK) / 10) << "CPU ticks in 3 s";
    EXPECT_TRUE(ScreenShows("idle", [](const testsupport::Screenshot& shot) { return shot.CountNear(kRed) < 100; }));
    ASSERT_TRUE(Command("-deactivate")) << DaemonLog();
    EXPECT_TRUE(testsupport::WaitFor([&] { return !Alive(saver); }, 10s)) << DaemonLog();
}

// One saver per screen, each in its own daemon window, each drawing.
TEST_F(SaverDaemon, EveryScreenShowsAPicture) {
    ASSERT_NO_FATAL_FAILURE(StartDisplay(2));
    ASSERT_NO_FATAL_FAILURE(StartDaemon());
    ASSERT_TRUE(Activate()) << DaemonLog();
    EXPECT_TRUE(ScreenShows("screen_0", FullPicture, 0)) << DaemonLog();
    EXPECT_TRUE(ScreenShows("screen_1", FullPicture, 1)) << DaemonLog();
    EXPECT_EQ(Starts().size(), 2u) << DaemonLog();
}

// The daemon's graphics process dies while the saver shows: the saver goes within 2 s rather
// than live on windowless, and the next activation shows a picture again.
TEST_F(SaverDaemon, SaverEndsWhenTheDaemonsGraphicsProcessDies) {
    ASSERT_NO_FATAL_FAILURE(StartDisplay());
    ASSERT_NO_FATAL_FAILURE(StartDaemon());
    ASSERT_TRUE(Activate()) << DaemonLog();
    ASSERT_TRUE(ScreenShows("shown", FullPicture)) << DaemonLog();
    const pid_t saver = Starts().front();
    const auto graphics = static_cast<pid_t>(StatField(saver, 4));
    ASSERT_GT(graphics, 1);
    ASSERT_NE(graphics, daemon_);
    ASSERT_EQ(kill(graphics, SIGKILL), 0);
    EXPECT_TRUE(testsupport::WaitFor([&] { return !Alive(saver); }, 2s));
    // The daemon takes the death of its helper for the end of the blanking, or starts another.
    Command("-deactivate");
    ASSERT_TRUE(Activate()) << DaemonLog();
    EXPECT_TRUE(ScreenShows("shown_again", FullPicture)) << DaemonLog();
}

// Inside a daemon's window the start-up messages are the window's caption, not a box hidden
// under it; the saver then waits for the daemon's SIGTERM.
TEST_F(SaverDaemon, StartUpMessageShowsInTheHostWindow) {
    ASSERT_NO_FATAL_FAILURE(StartDisplay());
    std::filesystem::remove(dataDir() / "webcams.def");
    testsupport::PlainXWindow host(xvfb_->display(), 100, 100, 600, 300);
    ASSERT_NE(host.id(), 0u);
    const pid_t saver = Start({BuiltSaver(), "/s"}, {"XSCREENSAVER_WINDOW=" + std::to_string(host.id())}, "saver.log");
    // Green text on black in the window, and no other window than the test's.
    EXPECT_TRUE(ScreenShows("message", [](const testsupport::Screenshot& shot) {
        return shot.CountNear(kCaptionGreen, 30) > 50 && shot.CountNear({0, 0, 0}, 10) > 500 * 200;
    })) << Log("saver.log");
    std::string windows;
    ASSERT_TRUE(Screen().Xdo({"search", "--onlyvisible", "--name", "Orvello"}, &windows));
    EXPECT_EQ(std::count(windows.begin(), windows.end(), '\n'), 1) << "a message box beside the saver's window";
    EXPECT_TRUE(Alive(saver));
    kill(saver, SIGTERM);
    const auto status = testsupport::WaitForChild(saver, 2s);
    EXPECT_TRUE(status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << Log("saver.log");
}

// Full screen without a daemon, under a window manager, the pointer is really held: another
// client cannot grab it, and pointer travel or a click ends the saver even over a window raised
// above it.
TEST_F(SaverDaemon, FullScreenSaverHoldsThePointer) {
    ORVELLO_NEED_PEER("openbox");
    ASSERT_NO_FATAL_FAILURE(StartDisplay());
    const pid_t openbox = testsupport::StartOpenbox(xvfb_->display(), temp_.path() / "openbox.log");
    ASSERT_GT(openbox, 0) << Log("openbox.log");
    started_.push_back(openbox);
    const char* actions[] = {"mousemove_relative", "click"};
    for (const char* action : actions) {
        SCOPED_TRACE(action);
        const std::string log = std::string("saver_") + action + ".log";
        ASSERT_TRUE(Screen().Xdo({"mousemove", "300", "300"}));  // where the raised window will be
        const pid_t saver = Start({BuiltSaver(), "/s"}, {}, log);
        ASSERT_TRUE(ScreenShows(std::string("shown_") + action, FullPicture)) << Log(log);
        const std::string display = xvfb_->display();
        EXPECT_TRUE(testsupport::WaitFor([&] { return PointerGrabbedByAnother(display); }, 10s)) << Log(log);
        std::this_thread::sleep_for(500ms);
        EXPECT_TRUE(PointerGrabbedByAnother(display)) << "the grab did not hold";
        testsupport::PlainXWindow above(display, 200, 200, 400, 300);
        std::this_thread::sleep_for(300ms);
        const std::vector<std::string> input = std::string(action) == "click"
                                                   ? std::vector<std::string>{"click", "1"}
                                                   : std::vector<std::string>{"mousemove_relative", "40", "30"};
        ASSERT_TRUE(Screen().Xdo(input));
        const auto status = testsupport::WaitForChild(saver, 5s);
        EXPECT_TRUE(status && WIFEXITED(*status)) << Log(log);
    }
}

}  // namespace
