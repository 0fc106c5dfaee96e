#pragma once
// The one QApplication of a Qt test program, made on first use. Without a platform chosen in the
// environment it draws offscreen, so no test needs a display.

#include <QApplication>

#include <cstdlib>

namespace testsupport {

inline void EnsureQApplication() {
    if (QApplication::instance())
        return;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "orvello-test";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
}

}  // namespace testsupport
