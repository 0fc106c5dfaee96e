#include "saver/input_grab.h"

#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace saver {

InputGrab::InputGrab(QWidget& window) : QObject(&window), window_(window), retry_(new QTimer(this)) {
    retry_->setInterval(50);
    connect(retry_, &QTimer::timeout, this, &InputGrab::Try);
}

void InputGrab::Start() {
    Try();
    if (!Held()) retry_->start();
}

void InputGrab::Try() {
    QWindow* window = window_.windowHandle();
    if (!window) return;
    if (!keyboard_) keyboard_ = window->setKeyboardGrabEnabled(true);
    if (!pointer_) pointer_ = window->setMouseGrabEnabled(true);
    if (Held()) retry_->stop();
}

}  // namespace saver
