// The desktop bar's arithmetic: the edge a drag asks for, the size steps, the floating size
// after a move, the rectangles of docked and auto-hidden bars, a slide's steps.

#include <gtest/gtest.h>

#include "desktop/app_bar_geometry.h"

namespace desktop {
namespace {

AppBarScreen Screen1000x800(AppBarRect workArea = {0, 0, 1000, 800}) {
    AppBarScreen m;
    m.screen = {0, 0, 1000, 800};
    m.workArea = workArea;
    return m;
}

constexpr std::uint8_t kEdgesOnly = abfAllowLeft | abfAllowTop | abfAllowRight | abfAllowBottom;

struct EdgeCase {
    const char* name;
    std::uint8_t flags;
    AppBarPoint point;
    bool ctrl;
    AppBarRect workArea;
    TAppBarEdge expected;
};

TEST(AppBarGeometry, EdgeFromPoint) {
    const AppBarRect full{0, 0, 1000, 800};
    const AppBarRect taskBarBelow{0, 0, 1000, 760};
    const EdgeCase cases[] = {
        {"near the top", kAllAppBarFlags, {500, 5}, false, full, abeTop},
        {"near the bottom", kAllAppBarFlags, {500, 795}, false, full, abeBottom},
        {"near the right", kAllAppBarFlags, {995, 400}, false, full, abeRight},
        {"inside the shrunk work area floats", kAllAppBarFlags, {500, 400}, false, full, abeFloat},
        {"just inside the shrunk work area", kAllAppBarFlags, {16, 16}, false, full, abeFloat},
        {"just outside it", kAllAppBarFlags, {15, 400}, false, full, abeLeft},
        {"diagonal tie goes left", kAllAppBarFlags, {0, 0}, false, full, abeLeft},
        {"diagonal tie goes right", kEdgesOnly, {750, 600}, false, full, abeRight},
        {"Ctrl floats anywhere", kAllAppBarFlags, {2, 2}, true, full, abeFloat},
        {"Ctrl without float allowed", kEdgesOnly, {2, 400}, true, full, abeLeft},
        {"work area shrunk by a task bar: below it docks", kAllAppBarFlags, {500, 750}, false, taskBarBelow, abeBottom},
        {"work area shrunk by a task bar: above it floats", kAllAppBarFlags, {500, 740}, false, taskBarBelow, abeFloat},
        {"disallowed edge floats", abfAllowFloat | abfAllowLeft | abfAllowRight | abfAllowBottom, {500, 2}, false, full,
         abeFloat},
        {"disallowed edge keeps the current edge", abfAllowLeft | abfAllowRight | abfAllowBottom, {500, 2}, false, full,
         abeRight},
        {"float only: no edge anywhere", abfAllowFloat, {500, 2}, false, full, abeFloat},
    };
    for (const EdgeCase& c : cases) {
        EXPECT_EQ(EdgeFromPoint(c.flags, c.point, c.ctrl, Screen1000x800(c.workArea), abeRight), c.expected) << c.name;
    }
}

TEST(AppBarGeometry, SizeSteps) {
    struct Case {
        int proposed, base, increment, expected;
    } cases[] = {
        {145, 100, 92, 100}, {146, 100, 92, 192}, {192, 100, 92, 192}, {238, 100, 92, 284},
        {100, 100, 92, 100}, {77, 100, 0, 77},    {60, 100, 92, 100},  {131, 124, 1, 131},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SnapSize(c.proposed, c.base, c.increment), c.expected)
            << c.proposed << " on base " << c.base << " step " << c.increment;
    }
}

TEST(AppBarGeometry, DockedAndAutoHiddenRectangles) {
    const AppBarScreen m = Screen1000x800();
    struct Case {
        int edge;
        AppBarRect docked, hidden;
    } cases[] = {
        {abeLeft, {0, 0, 72, 800}, {-70, 0, 2, 800}},
        {abeTop, {0, 0, 1000, 80}, {0, -78, 1000, 2}},
        {abeRight, {928, 0, 1000, 800}, {998, 0, 1070, 800}},
        {abeBottom, {0, 720, 1000, 800}, {0, 798, 1000, 878}},
    };
    for (const Case& c : cases) {
        const AppBarRect docked = DockRect(c.edge, m.screen, 72, 80);
        EXPECT_EQ(docked, c.docked) << "edge " << c.edge;
        EXPECT_EQ(AutoHideRect(c.edge, true, true, docked, m), c.docked) << "shown, edge " << c.edge;
        EXPECT_EQ(AutoHideRect(c.edge, true, false, docked, m), c.hidden) << "hidden, edge " << c.edge;
        EXPECT_FALSE(AutoHideRect(c.edge, false, false, docked, m)) << "not auto-hidden, edge " << c.edge;
    }
    EXPECT_EQ(DockRect(abeFloat, {5, 6, 7, 8}, 72, 80), (AppBarRect{5, 6, 7, 8}));
    EXPECT_FALSE(AutoHideRect(abeFloat, true, true, {5, 6, 7, 8}, m));
}

TEST(AppBarGeometry, FloatingRectangleAfterAMove) {
    const AppBarRect workArea{0, 0, 1000, 760};
    const AppBarRect previous{100, 100, 324, 204};
    // A bar pulled off the top edge is as wide as the work area: it takes its former size.
    EXPECT_EQ(FloatRectAfterMove({400, 300, 1400, 380}, false, previous, workArea), (AppBarRect{400, 300, 624, 404}));
    // A bar pulled off the left edge is as high as it: the same.
    EXPECT_EQ(FloatRectAfterMove({40, 30, 140, 790}, false, previous, workArea), (AppBarRect{40, 30, 264, 134}));
    // A docked bar smaller both ways keeps its own size.
    EXPECT_EQ(FloatRectAfterMove({40, 30, 140, 330}, false, previous, workArea), (AppBarRect{40, 30, 140, 330}));
    // A floating bar moved: the moved rectangle.
    EXPECT_EQ(FloatRectAfterMove({10, 20, 1200, 900}, true, previous, workArea), (AppBarRect{10, 20, 1200, 900}));
}

TEST(AppBarGeometry, TrackingLimits) {
    TAppBarSettings s = DefaultAppBarSettings({0, 0, 1000, 800});
    s.MinWidth = 124;
    s.MinHeight = 104;
    s.MinVertDockSize = 100;
    s.MinHorzDockSize = 80;
    const AppBarRect screen{0, 0, 1000, 800};
    const TrackingLimits floating = TrackingLimitsFor(abeFloat, s, screen);
    EXPECT_EQ(floating.minWidth, 124);
    EXPECT_EQ(floating.maxHeight, 800);
    const TrackingLimits top = TrackingLimitsFor(abeTop, s, screen);
    EXPECT_EQ(top.minHeight, 80);
    EXPECT_EQ(top.maxWidth, 1000);
    EXPECT_EQ(top.maxHeight, 400);
    const TrackingLimits left = TrackingLimitsFor(abeLeft, s, screen);
    EXPECT_EQ(left.minWidth, 100);
    EXPECT_EQ(left.maxWidth, 500);
    EXPECT_EQ(left.maxHeight, 800);
}

TEST(AppBarGeometry, SlideSteps) {
    const AppBarRect start{0, -70, 1000, 2}, target{0, 0, 1000, 72};
    EXPECT_EQ(SlideStep(start, target, 0, 400), start);
    EXPECT_EQ(SlideStep(start, target, 200, 400), (AppBarRect{0, -35, 1000, 37}));
    EXPECT_EQ(SlideStep(start, target, 400, 400), target);
    EXPECT_EQ(SlideStep(start, target, 0, 0), target);  // no slide time: at once
}

}  // namespace
}  // namespace desktop
