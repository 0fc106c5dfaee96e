#pragma once
// The desktop bar's arithmetic, apart from any window: which edge a point asks for, the rectangle
// of a docked or auto-hidden bar, the size steps, the tracking limits, the floating rectangle
// after a move and one step of a slide. All in screen pixels.

#include <cstdint>
#include <optional>

#include "desktop/app_bar_settings.h"
#include "desktop/app_bar_types.h"

namespace desktop {

// What the bar knows of the screen (the shell's system metrics).
struct AppBarScreen {
    AppBarRect screen;       // SM_CXSCREEN x SM_CYSCREEN
    AppBarRect workArea;     // the screen less what docked bars keep free
    int scrollWidth = 16;    // SM_CXVSCROLL: the work area is shrunk by it before a point floats
    int scrollHeight = 16;   // SM_CYHSCROLL
    int border = 1;          // SM_CXBORDER: a hidden bar keeps two of them on screen
    int doubleClick = 4;     // SM_CXDOUBLECLK: the auto-hide timer's margin is two of them
};

// The edge a drag to point p asks for. ctrl: the Ctrl key is down. Diagonal ties go to the left
// or right edge; an edge whose allow bit is clear gives floating when that is allowed, else
// current.
TAppBarEdge EdgeFromPoint(std::uint8_t flags, AppBarPoint p, bool ctrl, const AppBarScreen& metrics,
                          TAppBarEdge current);

// The docked rectangle: the shell's rectangle for the edge (the screen, or what the shell
// answered) cut to the dock size on the side away from the edge. Floating leaves rect alone.
AppBarRect DockRect(int edge, AppBarRect rect, int vertDockSize, int horzDockSize);

// Where an auto-hidden bar of this size lies shown or hidden; nothing when the bar is not
// docked or not auto-hidden.
std::optional<AppBarRect> AutoHideRect(int edge, bool autoHide, bool show, const AppBarRect& rect,
                                       const AppBarScreen& metrics);

// A proposed size snapped to base + n * increment (nearest, halves up); increment 0 leaves it.
int SnapSize(int proposed, int base, int increment);

struct TrackingLimits {
    int minWidth = 0, minHeight = 0, maxWidth = 0, maxHeight = 0;
};
// Floating: the settings' floating limits; docked: the dock limits, with the screen's width
// along a top or bottom edge and its height along a left or right one.
TrackingLimits TrackingLimitsFor(int edge, const TAppBarSettings& s, const AppBarRect& screen);

// The floating rectangle at the end of a move. A bar that was docked takes the moved window's
// size only when that is smaller than the work area both ways, else its former floating size;
// a bar that floated already takes the moved window's rectangle.
AppBarRect FloatRectAfterMove(const AppBarRect& moved, bool wasFloating, const AppBarRect& previousFloat,
                              const AppBarRect& workArea);

// The window rectangle of a slide from start to target after elapsed of slideTime ms.
AppBarRect SlideStep(const AppBarRect& start, const AppBarRect& target, int elapsed, int slideTime);

}  // namespace desktop
