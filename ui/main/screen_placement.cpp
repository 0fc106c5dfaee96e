#include "ui/main/screen_placement.h"

#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace ui {
namespace {

// A window manager draws at least this much frame on each side of a dialog, also where the
// reference (a maximised window) has lost its borders.
constexpr int kLeastFrame = 8;

}  // namespace

QPoint FitOnScreen(QPoint wanted, QSize size, const QRect& area) {
    const auto fit = [](int at, int length, int start, int room) {
        return std::max(start, std::min(at, start + room - length));
    };
    return {fit(wanted.x(), size.width(), area.left(), area.width()),
            fit(wanted.y(), size.height(), area.top(), area.height())};
}

QPoint PlaceOnScreenOf(const QWidget& reference, const QWidget& window, QPoint wanted) {
    const QScreen* screen = reference.screen();
    if (!screen) return wanted;
    QSize size = window.frameGeometry().size();
    if (!window.isVisible()) {
        // A window that was never resized gets its size hint when it shows.
        const QSize inside = window.testAttribute(Qt::WA_Resized) ? window.size() : window.sizeHint();
        const QRect outer = reference.frameGeometry(), inner = reference.geometry();
        const auto edge = [](int width) { return std::max(width, kLeastFrame); };
        size = inside + QSize(edge(inner.left() - outer.left()) + edge(outer.right() - inner.right()),
                              edge(inner.top() - outer.top()) + edge(outer.bottom() - inner.bottom()));
    }
    return FitOnScreen(wanted, size, screen->availableGeometry());
}

}  // namespace ui
