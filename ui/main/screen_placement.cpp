#include "ui/main/screen_placement.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QScreen>
#include <QTimer>
#include <QVariant>
#include <QWidget>

#include <algorithm>

#include "ui/dialogs/title_width.h"

namespace ui {
namespace {

// Where the reference (a maximised window) has lost a border, a dialog is taken to have this
// much frame on that side.
constexpr int kLeastFrame = 8;
// Marks a dialog this filter placed (and no code of its own).
constexpr const char* kPlacedHere = "orvelloPlacedHere";

// Whether the window manager has told window's frame: once it has been on show.
bool FrameKnown(const QWidget& window) { return window.frameGeometry() != window.geometry(); }

// The size window will have on the screen, its frame included: for a window not on show yet,
// the frame the window manager gave reference.
QSize FramedSize(const QWidget& reference, const QWidget& window) {
    if (window.isVisible() && FrameKnown(window)) return window.frameGeometry().size();
    // A window being shown has its size; one that is not gets its size hint, within its
    // limits, unless it was resized; a dialog is made as wide as its title as it shows.
    QSize inside = window.isVisible() || window.testAttribute(Qt::WA_Resized)
                       ? window.size()
                       : window.sizeHint().expandedTo(window.minimumSize()).boundedTo(window.maximumSize());
    if (qobject_cast<const QDialog*>(&window)) inside.setWidth(std::max(inside.width(), TitleBarWidth(window)));
    const QRect outer = reference.frameGeometry(), inner = reference.geometry();
    const auto edge = [](int width) { return width > 0 ? width : kLeastFrame; };
    return inside + QSize(edge(inner.left() - outer.left()) + edge(outer.right() - inner.right()),
                          edge(inner.top() - outer.top()) + edge(outer.bottom() - inner.bottom()));
}

// Moves window's frame to frame. A window that has a native window but was never on show (as
// every dialog has by its show) is moved by its inside, the window manager not having told its
// frame yet: by as much as reference's frame takes above and left of it.
void MoveFrameTo(QWidget& window, QPoint frame, const QWidget& reference) {
    if (FrameKnown(window) || !window.testAttribute(Qt::WA_WState_Created)) return window.move(frame);
    window.move(frame + (reference.geometry().topLeft() - reference.frameGeometry().topLeft()));
}

// The window a dialog being shown was opened from: the modal dialog the user is in (a dialog
// has no parent of its own), else its parent's window, else the main window.
QWidget& Opener(const QDialog& dialog, QWidget& mainWindow) {
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != &dialog && modal->isVisible())
        return *modal->window();
    if (QWidget* parent = dialog.parentWidget()) return *parent->window();
    return mainWindow;
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
    const QEvent::Type type = event->type();
    if ((type != QEvent::Show && type != QEvent::Hide && type != QEvent::Resize) || !watched->isWidgetType())
        return false;
    auto* dialog = qobject_cast<QDialog*>(watched);
    if (!dialog || !dialog->isWindow()) return false;
    if (type == QEvent::Hide) {
        // Not a position of its own: the next show places it again, by where its window is then.
        if (dialog->property(kPlacedHere).toBool()) dialog->setAttribute(Qt::WA_Moved, false);
        dialog->setProperty(kPlacedHere, false);
        Settled(dialog);
    } else if (type == QEvent::Resize) {
        // A dialog that settles its size in its own show handler (a message box wraps its text
        // there) is centred again at that size, before it reaches the screen.
        const auto at = std::find_if(settling_.begin(), settling_.end(), [&](const Settling& s) { return s.dialog == dialog; });
        if (at == settling_.end()) return false;
        const QWidget& opener = at->opener ? *at->opener : mainWindow_;
        MoveFrameTo(*dialog, CentredOn(opener, *dialog), opener);
    } else {
        FitTitle(*dialog);
        if (dialog->testAttribute(Qt::WA_Moved)) {
            // Where its code put it, kept within the screen at the width its title gave it.
            MoveFrameTo(*dialog, PlaceOnScreenOf(mainWindow_, *dialog, dialog->pos()), mainWindow_);
            return false;
        }
        // Moved before its own show handler runs, which would otherwise centre it on the screen.
        QWidget& opener = Opener(*dialog, mainWindow_);
        MoveFrameTo(*dialog, CentredOn(opener, *dialog), opener);
        dialog->setProperty(kPlacedHere, true);
        // The opener is taken now: once the dialog is on show it is the active modal one itself.
        settling_.push_back({dialog, &opener});
        QTimer::singleShot(0, this, [this, dialog = QPointer<QDialog>(dialog)] { Settled(dialog); });
    }
    return false;
}

void DialogPlacement::Settled(const QDialog* dialog) {
    std::erase_if(settling_, [&](const Settling& s) { return !s.dialog || s.dialog == dialog; });
}

}  // namespace ui
