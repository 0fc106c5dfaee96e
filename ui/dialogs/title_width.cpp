#include "ui/dialogs/title_width.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>
#include <QVariant>
#include <QWidget>

#include <algorithm>

namespace ui {
namespace {

// Openbox's default theme takes 110 px for the icon, three buttons and their gaps.
constexpr int kIconAndButtons = 120;
constexpr int kIconAndPadding = 64;
constexpr const char* kTitleRoom = "orvelloTitleRoom";

bool BareTitleBar(const QWidget& window) {
    const Qt::WindowFlags flags = window.windowFlags();
    return (flags & Qt::CustomizeWindowHint) &&
           !(flags & (Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint |
                      Qt::WindowMaximizeButtonHint));
}

// An empty row of the box's grid, as wide as the title needs: a spacer, as a widget added to a
// box being shown would make it lose the position it was given.
void ReserveTitleRoom(QMessageBox& box, int title) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid || box.property(kTitleRoom).toBool()) return;
    const QMargins margins = grid->contentsMargins();
    grid->addItem(new QSpacerItem(std::max(0, title - margins.left() - margins.right()), 0, QSizePolicy::Fixed,
                                  QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
    box.setProperty(kTitleRoom, true);
}

}  // namespace

int TitleBarWidth(const QWidget& window) {
    QFont bold = QApplication::font();
    bold.setBold(true);
    return QFontMetrics(bold).horizontalAdvance(window.windowTitle()) +
           (BareTitleBar(window) ? kIconAndPadding : kIconAndButtons);
}

void FitTitle(QWidget& window) {
    const int title = TitleBarWidth(window);
    if (auto* box = qobject_cast<QMessageBox*>(&window)) return ReserveTitleRoom(*box, title);
    if (window.minimumWidth() >= title) return;
    const bool fixedWidth = window.minimumWidth() == window.maximumWidth();
    const int width = std::max(title, window.minimumSizeHint().width());
    window.setMinimumWidth(width);
    if (fixedWidth) window.setMaximumWidth(width);
}

}  // namespace ui
