#pragma once
// Desktop-bar checks on a real X server: a private Xvfb display, with or without the openbox
// window manager, and a step of this test program run there as a child on Qt's X11 platform
// (the program's own Qt application is offscreen). Every wait is bounded.

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "tests/support/desktop_session.h"
#include "tests/support/xvfb_display.h"

namespace desktoptest {

inline bool ProcessUntil(const std::function<bool()>& done, int ms = 15000) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

// Where the screenshots of the desktop tests are kept.
inline std::filesystem::path Artifact(const std::string& name) {
    const std::filesystem::path folder = ORVELLO_DESKTOP_ARTIFACTS;
    std::filesystem::create_directories(folder);
    return folder / (name + ".png");
}

class X11Session {
public:
    // Starts Xvfb, and openbox on it when withWindowManager; ready() tells whether it all came.
    explicit X11Session(bool withWindowManager, const std::filesystem::path& logFolder);
    ~X11Session();
    bool ready() const { return ready_; }
    const std::string& display() const { return xvfb_.display(); }
    // Runs the disabled test childTest of this program on the display; its exit status is 0
    // when it passed. Its output goes to failureLog.
    bool RunChild(const std::string& childTest, const std::vector<std::string>& environment, std::string& failureLog);

private:
    testsupport::XvfbDisplay xvfb_;
    std::filesystem::path logs_;
    pid_t windowManager_ = -1;
    bool ready_ = false;
};

}  // namespace desktoptest
