#include "tests/ui/whole_program_fixture.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QImage>

#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "engine/regconfig.h"
#include "tests/support/peers.h"
#include "tests/support/program_artifacts.h"
#include "tests/support/run_program.h"
#include "tests/support/webcam_defs.h"
#include "tests/support/window_manager.h"

namespace wholeprogram {
namespace {

using namespace std::chrono_literals;

// ovl is built at the top of the build folder; the test program sits in its tests/ folder.
std::filesystem::path OvlProgram() {
    char self[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return {};
    self[n] = '\0';
    return std::filesystem::path(self).parent_path().parent_path() / "ovl";
}

std::string TestName() {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    return test ? std::string(test->test_suite_name()) + "_" + test->name() : "test";
}

}  // namespace

std::string SavedPictureName(std::time_t t) {
    std::tm local{};
    localtime_r(&t, &local);
    char name[32];
    std::strftime(name, sizeof name, "%Y%m%d%H%M%S.jpg", &local);
    return name;
}

void WholeProgramTest::SetUp() {
    IsolatedTest::SetUp();
    ORVELLO_NEED_PEER("Xvfb");
    ORVELLO_NEED_PEER("xdotool");
    ORVELLO_NEED_PEER("xwininfo");
    ORVELLO_NEED_PEER("ffmpeg");
    ORVELLO_NEED_PEER("nginx");
    const std::filesystem::path runtime = temp_.path() / "run";
    for (const auto& folder : {programDir(), dataDir(), runtime}) std::filesystem::create_directories(folder);
    std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
    {
        // The data folder as the user chose it, and a window with room for four thumbnails
        // side by side.
        testsupport::StoreDataFolder(dataFolder());
        engine::tregconfig store;
        engine::TConfigRec config{};
        store.ReadConfig(config);
        config.WindowWidth = 1100;
        config.WindowHeight = 760;
        config.LeftPanelWidth = 430;
        store.WriteConfig(config);
    }
    nginx_ = std::make_unique<testsupport::NginxPeer>(
        temp_.path(), "    access_log " + (temp_.path() / "access.log").string() + ";\n");
    ASSERT_TRUE(nginx_->Running()) << nginx_->ErrorLog();
    xvfb_ = std::make_unique<testsupport::XvfbDisplay>(screen_);
    ASSERT_FALSE(xvfb_->display().empty()) << "Xvfb did not start";
    desktop_ = std::make_unique<testsupport::DesktopSession>(xvfb_->display());
}

void WholeProgramTest::TearDown() {
    if (ovl_ > 0) testsupport::EndProgram(ovl_);
    if (windowManager_ > 0) testsupport::EndProgram(windowManager_);
    desktop_.reset();
    xvfb_.reset();
    nginx_.reset();
    IsolatedTest::TearDown();
}

void WholeProgramTest::ServePicture(const std::string& name, testsupport::Rgb colour) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "%02X%02X%02X", colour.r, colour.g, colour.b);
    // Written beside and renamed into place, so nginx never serves half a picture.
    const std::filesystem::path target = nginx_->root() / name;
    const std::filesystem::path partial = nginx_->root() / ("." + name + ".part.jpg");
    const testsupport::ProgramResult made =
        testsupport::RunProgram({"ffmpeg", "-loglevel", "error", "-y", "-f", "lavfi", "-i",
                                 std::string("color=c=0x") + hex + ":s=320x240", "-frames:v", "1", partial.string()});
    ASSERT_EQ(made.exit_code, 0) << made.err;
    std::filesystem::rename(partial, target);
}

std::string WholeProgramTest::Url(const std::string& name) const { return nginx_->Url("/" + name); }

int WholeProgramTest::Requests(const std::string& name) const {
    const std::string log = testsupport::ReadFile(temp_.path() / "access.log");
    const std::string request = "\"GET /" + name + " ";
    int count = 0;
    for (std::size_t at = log.find(request); at != std::string::npos; at = log.find(request, at + 1)) ++count;
    return count;
}

bool WholeProgramTest::StartWindowManager() {
    windowManager_ = testsupport::StartOpenbox(xvfb_->display(), temp_.path() / "openbox.log");
    if (windowManager_ <= 0) ADD_FAILURE() << "openbox did not start\n" << testsupport::ReadFile(temp_.path() / "openbox.log");
    return windowManager_ > 0;
}

// From xwininfo: xdotool's geometry adds the frame's offset once more under a reparenting
// window manager.
std::optional<WholeProgramTest::WindowRect> WholeProgramTest::RectOf(const std::string& window) const {
    const testsupport::ProgramResult info =
        testsupport::RunProgram({"env", "DISPLAY=" + xvfb_->display(), "xwininfo", "-id", window});
    WindowRect geometry;
    const auto value = [&](const char* name, int& field) {
        const std::size_t at = info.out.find(name);
        if (at == std::string::npos) return false;
        field = std::atoi(info.out.c_str() + at + std::strlen(name));
        return true;
    };
    if (info.exit_code != 0 || !value("Absolute upper-left X:", geometry.x) ||
        !value("Absolute upper-left Y:", geometry.y) || !value("Width:", geometry.width) ||
        !value("Height:", geometry.height))
        return std::nullopt;
    return geometry;
}

bool WholeProgramTest::StartOvl(const std::vector<std::string>& arguments) {
    const std::filesystem::path ovl = OvlProgram();
    if (!std::filesystem::exists(ovl)) {
        ADD_FAILURE() << "no program " << ovl;
        return false;
    }
    // Under the leak checker: the session bus library that Qt's X11 platform loads keeps a block
    // until the process ends; that one is not ours.
    const std::filesystem::path suppressions = temp_.path() / "lsan.supp";
    testsupport::WriteFile(suppressions, "leak:libdbus-1.so\n");
    ovl_ = testsupport::StartProgram(ovl.string(), arguments,
                                     {"DISPLAY=" + xvfb_->display(), "QT_QPA_PLATFORM=xcb",
                                      "XDG_RUNTIME_DIR=" + (temp_.path() / "run").string(),
                                      "LSAN_OPTIONS=suppressions=" + suppressions.string()},
                                     (temp_.path() / "ovl.log").string());
    if (ovl_ <= 0) {
        ADD_FAILURE() << "ovl did not start";
        return false;
    }
    mainWindow_ = desktop_->WaitForWindow("^Orvello$", 20000);
    if (mainWindow_.empty()) ADD_FAILURE() << "no main window\n" << OvlLog();
    return !mainWindow_.empty();
}

std::optional<int> WholeProgramTest::StopOvl() {
    kill(ovl_, SIGTERM);
    const std::optional<int> status = testsupport::WaitForChild(ovl_, 20s);
    if (!status) testsupport::EndProgram(ovl_);
    ovl_ = -1;
    return status;
}

std::optional<int> WholeProgramTest::TerminateOvlWithin(std::chrono::milliseconds timeout) {
    kill(ovl_, SIGTERM);
    const std::optional<int> status = testsupport::WaitForChild(ovl_, timeout);
    if (!status) {
        Shot("still_running");
        testsupport::EndProgram(ovl_);
    }
    ovl_ = -1;
    return status;
}

std::string WholeProgramTest::OvlLog() const { return testsupport::ReadFile(temp_.path() / "ovl.log"); }

std::filesystem::path WholeProgramTest::ArtifactPath(const std::string& step) const {
    return testsupport::ProgramArtifactFolder() / (TestName() + "_" + step + ".png");
}

std::optional<testsupport::Screenshot> WholeProgramTest::Shot(const std::string& step) const {
    return desktop_->Grab(ArtifactPath(step));
}

bool WholeProgramTest::ScreenShows(const std::string& step,
                                   const std::function<bool(const testsupport::Screenshot&)>& condition,
                                   int timeoutMs) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const std::optional<testsupport::Screenshot> shot = desktop_->Grab();
        const bool shown = shot && condition(*shot);
        if (shown || std::chrono::steady_clock::now() >= deadline) {
            // The artifact is the look that was judged: a splash may be gone by another one.
            if (shot) {
                const QImage image(shot->rgb.data(), shot->width, shot->height, shot->width * 3,
                                   QImage::Format_RGB888);
                const std::filesystem::path png = ArtifactPath(step);
                std::filesystem::create_directories(png.parent_path());
                image.save(QString::fromStdString(png.string()));
            }
            return shown;
        }
        std::this_thread::sleep_for(250ms);
    }
}

}  // namespace wholeprogram
