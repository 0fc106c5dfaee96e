#pragma once
// The program ovl as a whole, on a private Xvfb display, with its own settings store, program
// folder and data folder, and local nginx serving the webcams' pictures: plain-coloured JPEGs
// whose colours the tests look for on the screen. Screenshots are kept as test artifacts in
// build/artifacts/whole_program/.

#include <sys/types.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/desktop_session.h"
#include "tests/support/nginx_peer.h"
#include "tests/support/temp_dir.h"
#include "tests/support/xvfb_display.h"

namespace wholeprogram {

inline constexpr testsupport::Rgb kRed{255, 0, 0};
inline constexpr testsupport::Rgb kGreen{0, 255, 0};
inline constexpr testsupport::Rgb kBlue{0, 0, 255};
inline constexpr testsupport::Rgb kYellow{255, 255, 0};

// A thumbnail of the default size (86 x 80) covers this many pixels, with room for its frame
// and for the JPEG's edges.
inline constexpr int kThumbnailPixels = 5000;

// The name a webcam gives its picture saved at local time t.
std::string SavedPictureName(std::time_t t);

class WholeProgramTest : public testsupport::IsolatedTest {
protected:
    // Skips (or fails, when peers are required) without Xvfb, xdotool, ffmpeg or nginx; then
    // makes the folders, the data folder setting and the nginx peer (with an access log).
    void SetUp() override;
    void TearDown() override;

    // Writes a 320 x 240 JPEG of one colour where nginx serves it as name ("/name").
    void ServePicture(const std::string& name, testsupport::Rgb colour);
    // The URL nginx serves name under.
    std::string Url(const std::string& name) const;
    // How many requests for "/name" nginx has answered so far.
    int Requests(const std::string& name) const;

    // Starts openbox on the display and waits until it manages windows (tests that look at
    // window placement, maximised windows and captions need one); false when it did not come.
    // The test needs the peer: ORVELLO_NEED_PEER("openbox") first.
    bool StartWindowManager();
    // Starts ovl with arguments and waits for its main window; false (with ovl's output in
    // the failure) when it did not come.
    bool StartOvl(const std::vector<std::string>& arguments = {});
    // A window's position and size as the X server has them (its frame left out, the inside at
    // its place on the screen).
    struct WindowRect {
        int x = 0, y = 0, width = 0, height = 0;
    };
    std::optional<WindowRect> RectOf(const std::string& window) const;
    // SIGTERM, as the session's end sends it; the exit status, or nothing when ovl did not end.
    std::optional<int> StopOvl();
    // SIGTERM, and the exit status if ovl ended within timeout; else a screenshot
    // ("still_running") and ovl killed.
    std::optional<int> TerminateOvlWithin(std::chrono::milliseconds timeout);
    std::string OvlLog() const;

    // Where the artifact of a step is kept: <test name>_<step>.png.
    std::filesystem::path ArtifactPath(const std::string& step) const;
    // A screenshot kept as <test name>_<step>.png.
    std::optional<testsupport::Screenshot> Shot(const std::string& step) const;
    // Takes screenshots until one satisfies the condition or the time is up; the last one is
    // kept as the step's artifact.
    bool ScreenShows(const std::string& step, const std::function<bool(const testsupport::Screenshot&)>& condition,
                     int timeoutMs = 20000) const;

    std::string dataFolder() const { return dataDir().string() + "/"; }

    std::string screen_ = "1280x1024x24";  // the Xvfb screen; a test may set another before SetUp
    std::unique_ptr<testsupport::XvfbDisplay> xvfb_;
    std::unique_ptr<testsupport::DesktopSession> desktop_;
    std::unique_ptr<testsupport::NginxPeer> nginx_;
    std::string mainWindow_;  // the main window's X id once started
    pid_t ovl_ = -1;
    pid_t windowManager_ = -1;
};

}  // namespace wholeprogram
