#include "tests/desktop/quick_bar_whole_program_fixture.h"

#include <algorithm>
#include <sstream>

#include "desktop/app_bar_x11_service.h"
#include "engine/regconfig.h"
#include "tests/support/peers.h"
#include "tests/support/window_manager.h"

namespace wholeprogram {

void QuickBarWholeProgram::SetUp() {
    WholeProgramTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    ORVELLO_NEED_PEER("openbox");
    openbox_ = testsupport::StartOpenbox(xvfb_->display(), temp_.path() / "openbox.log");
    ASSERT_GT(openbox_, 0) << "openbox did not start";
}

void QuickBarWholeProgram::TearDown() {
    if (ovl_ > 0) testsupport::EndProgram(ovl_);
    testsupport::EndProgram(openbox_);
    WholeProgramTest::TearDown();
}

std::optional<QuickBarWholeProgram::Geometry> QuickBarWholeProgram::WindowGeometry(const std::string& window) const {
    std::string out;
    if (!desktop_->Xdo({"getwindowgeometry", "--shell", window}, &out)) return std::nullopt;
    Geometry g;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
        const auto eq = line.find('=');
        if (eq == std::string::npos) continue;
        const std::string key = line.substr(0, eq);
        const int value = std::atoi(line.c_str() + eq + 1);
        if (key == "X") g.x = value;
        if (key == "Y") g.y = value;
        if (key == "WIDTH") g.width = value;
        if (key == "HEIGHT") g.height = value;
    }
    return g;
}

std::vector<long> QuickBarWholeProgram::WorkArea() const {
    const desktop::AppBarX11Service x11(xvfb_->display());
    const desktop::AppBarRect r = x11.WorkArea();
    return {r.left, r.top, r.right, r.bottom};
}

void QuickBarWholeProgram::StoreBarOpen() {
    engine::tregconfig store;
    engine::TExtra1Rec extra1{};
    engine::TExtra2Rec extra2{};
    store.ReadExtra12(extra1, extra2);
    extra1.QuickBarShown = 1;
    store.WriteExtra12(extra1, extra2);
}

std::string QuickBarWholeProgram::WaitForBar(int timeoutMs) {
    const std::string bar = desktop_->WaitForWindow("^Doroza$", timeoutMs, mainWindow_);
    if (bar.empty()) ADD_FAILURE() << "no bar window\n" << OvlLog();
    return bar;
}

bool QuickBarWholeProgram::ActionOpensWindow(const std::function<bool()>& action) {
    const auto windows = [&] {
        std::string out;
        desktop_->Xdo({"search", "--onlyvisible", "--pid", std::to_string(ovl_)}, &out);
        return std::count(out.begin(), out.end(), '\n');
    };
    const auto before = windows();
    return action() && testsupport::WaitFor([&] { return windows() > before; }, std::chrono::seconds(10));
}

}  // namespace wholeprogram
