#include "desktop/app_bar_geometry.h"

#include <algorithm>
#include <cstdlib>

namespace desktop {

TAppBarEdge EdgeFromPoint(std::uint8_t flags, AppBarPoint p, bool ctrl, const AppBarScreen& metrics,
                          TAppBarEdge current) {
    const bool allowFloat = (flags & abfAllowFloat) != 0;
    if (ctrl && allowFloat) return abeFloat;
    if (allowFloat) {
        const AppBarRect& wa = metrics.workArea;
        const AppBarRect inner{wa.left + metrics.scrollWidth, wa.top + metrics.scrollHeight,
                               wa.right - metrics.scrollWidth, wa.bottom - metrics.scrollHeight};
        if (inner.Contains(p.x, p.y) || (flags & 15) == 0) return abeFloat;
    }
    const int width = metrics.screen.Width(), height = metrics.screen.Height();
    const long long dx = p.x - width / 2, dy = p.y - height / 2;
    TAppBarEdge edge;
    if (std::llabs(dy) * width > std::llabs(dx) * height) {
        edge = dy < 0 ? abeTop : abeBottom;
    } else {
        edge = dx < 0 ? abeLeft : abeRight;
    }
    if ((flags & AllowBit(edge)) == 0) return allowFloat ? abeFloat : current;
    return edge;
}

AppBarRect DockRect(int edge, AppBarRect r, int vertDockSize, int horzDockSize) {
    switch (edge) {
        case abeLeft: r.right = r.left + vertDockSize; break;
        case abeTop: r.bottom = r.top + horzDockSize; break;
        case abeRight: r.left = r.right - vertDockSize; break;
        case abeBottom: r.top = r.bottom - horzDockSize; break;
        default: break;
    }
    return r;
}

std::optional<AppBarRect> AutoHideRect(int edge, bool autoHide, bool show, const AppBarRect& rect,
                                       const AppBarScreen& m) {
    if (!IsDockedEdge(edge) || !autoHide) return std::nullopt;
    const int w = rect.Width(), h = rect.Height();
    const int keep = 2 * m.border;  // what a hidden bar leaves on screen
    const int sw = m.screen.right, sh = m.screen.bottom;
    switch (edge) {
        case abeLeft: return rect.MovedTo(show ? 0 : keep - w, 0);
        case abeTop: return rect.MovedTo(0, show ? 0 : keep - h);
        case abeRight: return rect.MovedTo(show ? sw - w : sw - keep, 0);
        default: return rect.MovedTo(0, show ? sh - h : sh - keep);
    }
}

int SnapSize(int proposed, int base, int increment) {
    if (increment == 0) return proposed;
    return ((proposed - base + increment / 2) / increment) * increment + base;
}

TrackingLimits TrackingLimitsFor(int edge, const TAppBarSettings& s, const AppBarRect& screen) {
    if (!IsDockedEdge(edge)) return {s.MinWidth, s.MinHeight, s.MaxWidth, s.MaxHeight};
    TrackingLimits t{s.MinVertDockSize, s.MinHorzDockSize, s.MaxVertDockSize, s.MaxHorzDockSize};
    if (edge == abeTop || edge == abeBottom) t.maxWidth = screen.Width();
    if (edge == abeLeft || edge == abeRight) t.maxHeight = screen.Height();
    return t;
}

AppBarRect FloatRectAfterMove(const AppBarRect& moved, bool wasFloating, const AppBarRect& previousFloat,
                              const AppBarRect& workArea) {
    if (wasFloating) return moved;
    const bool fits = moved.Width() < workArea.Width() && moved.Height() < workArea.Height();
    const int w = fits ? moved.Width() : previousFloat.Width();
    const int h = fits ? moved.Height() : previousFloat.Height();
    return {moved.left, moved.top, moved.left + w, moved.top + h};
}

AppBarRect SlideStep(const AppBarRect& start, const AppBarRect& target, int elapsed, int slideTime) {
    if (slideTime <= 0 || elapsed >= slideTime) return target;
    const auto step = [&](int from, int to) { return from - (from - to) * elapsed / slideTime; };
    const int left = step(start.left, target.left), top = step(start.top, target.top);
    const int width = step(start.Width(), target.Width()), height = step(start.Height(), target.Height());
    return {left, top, left + width, top + height};
}

}  // namespace desktop
