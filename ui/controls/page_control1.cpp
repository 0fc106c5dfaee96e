#include "ui/controls/page_control1.h"

#include <QKeyEvent>
#include <QTabBar>

namespace ui {

TPageControl1::TPageControl1(QWidget* parent) : QTabWidget(parent) { tabBar()->installEventFilter(this); }

bool TPageControl1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == tabBar() && (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease))
        return RunKeyHandlers(static_cast<QKeyEvent&>(*event), onkeydown, onkeyup, onkeypress);
    return QTabWidget::eventFilter(watched, event);
}

}  // namespace ui
