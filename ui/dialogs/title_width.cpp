#include "ui/dialogs/title_width.h"

#include <QApplication>
#include <QFontMetrics>
#include <QWidget>

#include <algorithm>

namespace ui {
namespace {

constexpr int kIconAndButtons = 120;
constexpr int kTitlePadding = 24;

bool BareTitleBar(const QWidget& window) {
    const Qt::WindowFlags flags = window.windowFlags();
    return (flags & Qt::CustomizeWindowHint) &&
           !(flags & (Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint |
                      Qt::WindowMaximizeButtonHint));
}

}  // namespace

int TitleBarWidth(const QWidget& window) {
    return QFontMetrics(QApplication::font()).horizontalAdvance(window.windowTitle()) +
           (BareTitleBar(window) ? kTitlePadding : kIconAndButtons);
}

void FitTitle(QWidget& window) {
    const int title = TitleBarWidth(window);
    if (window.minimumWidth() >= title) return;
    const bool fixedWidth = window.minimumWidth() == window.maximumWidth();
    const int width = std::max(title, window.minimumSizeHint().width());
    window.setMinimumWidth(width);
    if (fixedWidth) window.setMaximumWidth(width);
}

}  // namespace ui
