#pragma once
// The quick bar in the whole program: ovl on a private X display with openbox, with the bar's
// window found by its title and the work area read as the window manager publishes it.

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tests/ui/whole_program_fixture.h"

namespace wholeprogram {

class QuickBarWholeProgram : public WholeProgramTest {
protected:
    void SetUp() override;
    void TearDown() override;

    struct Geometry {
        int x = 0, y = 0, width = 0, height = 0;
    };
    std::optional<Geometry> WindowGeometry(const std::string& window) const;
    // left, top, right, bottom.
    std::vector<long> WorkArea() const;
    // Marks the bar open in the settings, as a session that ended with it open leaves it.
    static void StoreBarOpen();
    // Waits for the bar's window; empty (with ovl's output in the failure) when it did not come.
    std::string WaitForBar(int timeoutMs = 15000);
    // Does what action does and waits until ovl maps one more window (a menu); false when the
    // action failed or no window came.
    bool ActionOpensWindow(const std::function<bool()>& action);

    pid_t openbox_ = -1;
};

}  // namespace wholeprogram
