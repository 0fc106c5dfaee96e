// The quick bar dragged between the screen's edges by a real pointer, in the whole program on a
// 1920 x 1080 display with openbox: a drag that starts on the bar stays the bar's to its end, a
// panel holding the top edge (trayer) is respected on every path, and a floating bar dragged by
// its title bar to an edge docks there.

#include <gtest/gtest.h>

#include <chrono>
#include <sstream>

#include "desktop/app_bar_settings.h"
#include "desktop/quick_bar_store.h"
#include "tests/desktop/quick_bar_whole_program_fixture.h"
#include "tests/support/peers.h"
#include "tests/support/run_program.h"
#include "tests/support/webcam_defs.h"

namespace wholeprogram {
namespace {

using namespace std::chrono_literals;

class QuickBarEdges : public QuickBarWholeProgram {
protected:
    QuickBarEdges() { screen_ = "1920x1080x24"; }
    void TearDown() override {
        QuickBarWholeProgram::TearDown();
        if (trayer_ > 0) testsupport::EndProgram(trayer_);
    }

    // Three webcams on the bar, which opens with the program where settings put it.
    void StartWithBar(const desktop::TAppBarSettings& settings) {
        ServePicture("red.jpg", kRed);
        testsupport::WriteWebcamDefs(dataFolder(), {Url("red.jpg"), Url("red.jpg?2"), Url("red.jpg?3")});
        ASSERT_TRUE(desktop::WriteQuickBarStore({"Cam1", "Cam2", "Cam3"}, settings));
        StoreBarOpen();
        ASSERT_TRUE(StartOvl());
        bar_ = WaitForBar();
        ASSERT_FALSE(bar_.empty());
    }

    static desktop::TAppBarSettings Docked(int edge) {
        desktop::TAppBarSettings s = desktop::DefaultAppBarSettings({0, 0, 1920, 1080});
        s.Edge = static_cast<std::uint8_t>(edge);
        s.SetFloatRect({600, 400, 900, 504});
        return s;
    }

    // A panel along the top holding 24 pixels with a partial strut.
    void StartPanel() {
        trayer_ = testsupport::StartProgram(
            testsupport::FindProgram("trayer"),
            {"--edge", "top", "--align", "left", "--widthtype", "pixel", "--width", "300", "--heighttype", "pixel",
             "--height", "24", "--SetDockType", "true", "--SetPartialStrut", "true", "--transparent", "false"},
            {"DISPLAY=" + xvfb_->display()}, (temp_.path() / "trayer.log").string());
        ASSERT_GT(trayer_, 0);
        ASSERT_TRUE(testsupport::WaitFor([&] { return WorkArea()[1] >= 24; }, 10s))
            << "no strut of the panel\n" << testsupport::ReadFile(temp_.path() / "trayer.log");
    }

    // Presses at the first point, moves through the others and lets go at the last.
    bool Drag(const std::vector<std::pair<int, int>>& path) const {
        std::vector<std::string> steps{"mousemove", std::to_string(path[0].first), std::to_string(path[0].second),
                                       "mousedown", "1"};
        for (std::size_t i = 1; i < path.size(); ++i) {
            for (const std::string& word : {std::string("sleep"), std::string("0.05"), std::string("mousemove"),
                                            std::to_string(path[i].first), std::to_string(path[i].second)})
                steps.push_back(word);
        }
        for (const char* word : {"sleep", "0.2", "mouseup", "1"}) steps.push_back(word);
        return desktop_->Xdo(steps);
    }

    // The top edge the bar's strut reserves (its third value), -1 when it has none.
    int StrutTop() const {
        const testsupport::ProgramResult r =
            testsupport::RunProgram({"xprop", "-display", xvfb_->display(), "-id", bar_, "_NET_WM_STRUT_PARTIAL"});
        const auto equals = r.out.find('=');
        if (equals == std::string::npos) return -1;
        std::istringstream values(r.out.substr(equals + 1));
        long left = 0, right = 0, top = 0;
        char comma = 0;
        values >> left >> comma >> right >> comma >> top;
        return values ? static_cast<int>(top) : -1;
    }

    // Docked at the top below y: the window there, 80 high, and its strut down to its bottom.
    bool DockedTopAt(int y) const {
        const std::optional<Geometry> g = WindowGeometry(bar_);
        return g && g->y == y && g->height == 80 && StrutTop() == y + 80 && WorkArea()[1] == y + 80;
    }

    std::string Where() const {
        const std::optional<Geometry> g = WindowGeometry(bar_);
        std::ostringstream text;
        if (g) text << "bar " << g->x << "," << g->y << " " << g->width << "x" << g->height;
        const std::vector<long> area = WorkArea();
        text << ", strut top " << StrutTop() << ", work area " << area[0] << "," << area[1] << "-" << area[2] << ","
             << area[3] << "\n" << OvlLog();
        return text.str();
    }

    // The bar's client area's corner on the screen, as xwininfo gives it (xdotool adds the
    // frame's offset once more).
    std::optional<std::pair<int, int>> ClientCorner() const {
        const testsupport::ProgramResult info =
            testsupport::RunProgram({"xwininfo", "-display", xvfb_->display(), "-id", bar_});
        const auto x = info.out.find("Absolute upper-left X:"), y = info.out.find("Absolute upper-left Y:");
        if (x == std::string::npos || y == std::string::npos) return std::nullopt;
        return std::pair{std::atoi(info.out.c_str() + x + 22), std::atoi(info.out.c_str() + y + 22)};
    }

    std::string bar_;
    pid_t trayer_ = -1;
};

// Pressed on the gripper of the bar docked at the top, then swept down to the bottom edge: the
// outline snaps to the left edge at once (a button then lies under the pointer), and on to the
// bottom; the bar ends there, its top strut given back.
TEST_F(QuickBarEdges, ADragThatStartsOnTheBarStaysTheBarsToItsEnd) {
    StartWithBar(Docked(desktop::abeTop));
    ASSERT_TRUE(testsupport::WaitFor([&] { return WorkArea()[1] == 80; }, 10s)) << Where();
    ASSERT_TRUE(Drag({{8, 50}, {10, 52}, {12, 60}, {166, 221}, {400, 500}, {700, 800}, {900, 1000}, {960, 1078}}));
    EXPECT_TRUE(testsupport::WaitFor(
        [&] {
            const std::optional<Geometry> g = WindowGeometry(bar_);
            return g && g->y == 1000 && g->height == 80 && WorkArea()[1] == 0 && WorkArea()[3] == 1000;
        },
        10s))
        << Where();
    Shot("docked_bottom");
}

// A panel holds the top 24 pixels: the bar docks below it from floating and from the left edge,
// and follows it when the panel goes and comes back, its strut always where its window is.
TEST_F(QuickBarEdges, APanelOnTheTopEdgeIsRespectedOnEveryPath) {
    ORVELLO_NEED_PEER("trayer");
    StartPanel();
    StartWithBar(Docked(desktop::abeLeft));
    ASSERT_TRUE(testsupport::WaitFor([&] { return WorkArea()[0] == 100; }, 10s)) << Where();

    // From the left edge, by its gripper (along its top), to the top edge.
    ASSERT_TRUE(Drag({{50, 32}, {200, 30}, {600, 20}, {960, 12}}));
    EXPECT_TRUE(testsupport::WaitFor([&] { return DockedTopAt(24); }, 10s)) << "from the left edge: " << Where();

    // The panel goes: the bar moves up to the screen's edge; it comes back: the bar moves below it.
    testsupport::EndProgram(trayer_);
    trayer_ = -1;
    EXPECT_TRUE(testsupport::WaitFor([&] { return DockedTopAt(0); }, 10s)) << "without the panel: " << Where();
    StartPanel();
    EXPECT_TRUE(testsupport::WaitFor([&] { return DockedTopAt(24); }, 10s)) << "the panel back: " << Where();

    // Pulled off to float (Ctrl is not needed: the middle of the screen floats it), then back up.
    ASSERT_TRUE(Drag({{8, 60}, {300, 300}, {700, 500}}));
    ASSERT_TRUE(testsupport::WaitFor([&] { return WorkArea()[1] == 24; }, 10s)) << "floating: " << Where();
    const std::optional<Geometry> floating = WindowGeometry(bar_);
    ASSERT_TRUE(floating);
    ASSERT_TRUE(Drag({{floating->x + 8, floating->y + 40}, {700, 200}, {960, 12}}));
    EXPECT_TRUE(testsupport::WaitFor([&] { return DockedTopAt(24); }, 10s)) << "from floating: " << Where();
}

// The window manager's own move, by the title bar, to the left edge docks the floating bar there.
TEST_F(QuickBarEdges, AFloatingBarDraggedByItsTitleBarToAnEdgeDocksThere) {
    desktop::TAppBarSettings floating = Docked(desktop::abeFloat);
    StartWithBar(floating);
    ASSERT_TRUE(testsupport::WaitFor([&] { return desktop_->Visible(bar_); }, 10s));
    const std::optional<Geometry> g = WindowGeometry(bar_);
    ASSERT_TRUE(g);
    // The title bar lies above the client area.
    const std::optional<std::pair<int, int>> client = ClientCorner();
    ASSERT_TRUE(client);
    ASSERT_TRUE(Drag({{client->first + g->width / 2, client->second - 8}, {400, 450}, {100, 500}, {3, 540}}));
    EXPECT_TRUE(testsupport::WaitFor([&] { return WorkArea()[0] == 100; }, 10s)) << Where();
    Shot("docked_left");
}

// A floating bar moved by its gripper opens again, by "Doroza", where it was dropped.
TEST_F(QuickBarEdges, AMovedFloatingBarOpensAgainWhereItWasDropped) {
    StartWithBar(Docked(desktop::abeFloat));
    const std::optional<std::pair<int, int>> before = ClientCorner();
    ASSERT_TRUE(before);
    ASSERT_TRUE(Drag({{before->first + 8, before->second + 40}, {before->first + 100, before->second + 100},
                      {before->first + 208, before->second + 140}}));
    std::optional<std::pair<int, int>> dropped;
    ASSERT_TRUE(testsupport::WaitFor([&] { return (dropped = ClientCorner()) && dropped->first != before->first; }, 10s))
        << Where();
    const auto doroza = [&] { return desktop_->Xdo({"mousemove", "--window", mainWindow_, "379", "38", "click", "1"}); };
    for (int round = 1; round <= 2; ++round) {
        SCOPED_TRACE(round);
        ASSERT_TRUE(doroza());  // closes
        ASSERT_TRUE(testsupport::WaitFor([&] { return !desktop_->Visible(bar_); }, 10s));
        ASSERT_TRUE(doroza());  // opens again
        bar_ = WaitForBar();
        ASSERT_FALSE(bar_.empty());
        std::optional<std::pair<int, int>> again;
        EXPECT_TRUE(testsupport::WaitFor([&] { return (again = ClientCorner()) && *again == *dropped; }, 5s))
            << "dropped at " << dropped->first << "," << dropped->second << ", opened at "
            << (again ? again->first : -1) << "," << (again ? again->second : -1);
    }
}

}  // namespace
}  // namespace wholeprogram
