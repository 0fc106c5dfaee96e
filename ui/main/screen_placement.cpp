#include "ui/main/screen_placement.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QScreen>
#include <QVariant>
#include <QWidget>

#include <algorithm>

namespace ui {
namespace {

// A window manager draws at least this much frame on each side of a dialog, also where the
// reference (a maximised window) has lost its borders.
constexpr int kLeastFrame = 8;
// Marks a dialog this filter placed (and no code of its own).
constexpr const char* kPlacedHere = "orvelloPlacedHere";

// The size window will have on the screen, its frame included.
QSize FramedSize(const QWidget& reference, const QWidget& window) {
    if (window.isVisible()) return window.frameGeometry().size();
    // A window that was never resized gets its size hint when it shows.
    const QSize inside = window.testAttribute(Qt::WA_Resized) ? window.size() : window.sizeHint();
    const QRect outer = reference.frameGeometry(), inner = reference.geometry();
    const auto edge = [](int width) { return std::max(width, kLeastFrame); };
    return inside + QSize(edge(inner.left() - outer.left()) + edge(outer.right() - inner.right()),
                          edge(inner.top() - outer.top()) + edge(outer.bottom() - inner.bottom()));
}

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
    return FitOnScreen(wanted, FramedSize(reference, window), screen->availableGeometry());
}

QPoint CentredOn(const QWidget& anchor, const QWidget& window) {
    const QScreen* screen = anchor.screen() ? anchor.screen() : QGuiApplication::primaryScreen();
    if (!screen) return window.pos();
    const QRect area = screen->availableGeometry();
    const bool onShow = anchor.isVisible() && !anchor.isMinimized();
    const QPoint centre = onShow ? anchor.frameGeometry().center() : area.center();
    const QSize size = FramedSize(anchor, window);
    return FitOnScreen(centre - QPoint(size.width() / 2, size.height() / 2), size, area);
}

DialogPlacement::DialogPlacement(QWidget& mainWindow) : QObject(&mainWindow), mainWindow_(mainWindow) {
    qApp->installEventFilter(this);
}

DialogPlacement::~DialogPlacement() { qApp->removeEventFilter(this); }

bool DialogPlacement::eventFilter(QObject* watched, QEvent* event) {
    if ((event->type() != QEvent::Show && event->type() != QEvent::Hide) || !watched->isWidgetType()) return false;
    auto* dialog = qobject_cast<QDialog*>(watched);
    if (!dialog || !dialog->isWindow()) return false;
    if (event->type() == QEvent::Hide) {
        // Not a position of its own: the next show places it again, by where its window is then.
        if (dialog->property(kPlacedHere).toBool()) dialog->setAttribute(Qt::WA_Moved, false);
        dialog->setProperty(kPlacedHere, false);
    } else if (!dialog->testAttribute(Qt::WA_Moved)) {
        // Moved before its own show handler runs, which would otherwise centre it on the screen.
        const QWidget* parent = dialog->parentWidget();
        dialog->move(CentredOn(parent ? *parent->window() : mainWindow_, *dialog));
        dialog->setProperty(kPlacedHere, true);
    }
    return false;
}

}  // namespace ui
