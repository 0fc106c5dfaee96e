#include "ui/controls/page_control1.h"

#include <QKeyEvent>
#include <QTabBar>

namespace ui {

TPageControl1::TPageControl1(QWidget* parent) : QTabWidget(parent) { tabBar()->installEventFilter(this); }

bool TPageControl1::HandleKey(QKeyEvent& event) { return RunKeyHandlers(event, onkeydown, onkeyup, onkeypress); }

bool TPageControl1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == tabBar() && (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease))
        return HandleKey(static_cast<QKeyEvent&>(*event));
    return QTabWidget::eventFilter(watched, event);
}

void TPageControl1::keyPressEvent(QKeyEvent* event) {
    if (!HandleKey(*event)) QTabWidget::keyPressEvent(event);
}

void TPageControl1::keyReleaseEvent(QKeyEvent* event) {
    if (!HandleKey(*event)) QTabWidget::keyReleaseEvent(event);
}

}  // namespace ui
