#include "saver/input_grab.h"

#include "saver/host_window.h"

#include <QCoreApplication>
#include <QPoint>
#include <QTimer>
#include <QWidget>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace saver {
namespace {

using Reply = std::unique_ptr<void, decltype(&std::free)>;

bool Granted(std::uint8_t status) { return status == XCB_GRAB_STATUS_SUCCESS; }

bool GrabPointer(xcb_connection_t* connection, xcb_window_t window) {
    const std::uint16_t events = XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE |
                                 XCB_EVENT_MASK_POINTER_MOTION;
    auto* reply = xcb_grab_pointer_reply(
        connection,
        xcb_grab_pointer(connection, 0, window, events, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC, XCB_NONE, XCB_NONE,
                         XCB_CURRENT_TIME),
        nullptr);
    const Reply kept(reply, &std::free);
    return reply && Granted(reply->status);
}

bool GrabKeyboard(xcb_connection_t* connection, xcb_window_t window) {
    auto* reply = xcb_grab_keyboard_reply(
        connection,
        xcb_grab_keyboard(connection, 0, window, XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC), nullptr);
    const Reply kept(reply, &std::free);
    return reply && Granted(reply->status);
}

}  // namespace

InputGrab::InputGrab(QWidget& window) : QObject(&window), window_(window), retry_(new QTimer(this)) {
    retry_->setInterval(50);
    connect(retry_, &QTimer::timeout, this, &InputGrab::Try);
}

InputGrab::~InputGrab() { QCoreApplication::instance()->removeNativeEventFilter(this); }

void InputGrab::Start() {
    // The core events of the grab reach the window whatever Qt asked the server for itself.
    QCoreApplication::instance()->installNativeEventFilter(this);
    Try();
    if (!Held()) retry_->start();
}

void InputGrab::Try() {
    xcb_connection_t* connection = XConnection();
    if (!connection || !window_.isVisible()) return;
    const auto window = static_cast<xcb_window_t>(window_.winId());
    if (!keyboard_) keyboard_ = GrabKeyboard(connection, window);
    if (!pointer_) pointer_ = GrabPointer(connection, window);
    if (Held()) retry_->stop();
}

bool InputGrab::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    switch (event->response_type & 0x7f) {
    case XCB_KEY_PRESS:  // not the release: the key that started the saver may come up after
    case XCB_BUTTON_PRESS:
    case XCB_BUTTON_RELEASE:
        emit pressed();
        break;
    case XCB_MOTION_NOTIFY: {
        const auto* motion = static_cast<const xcb_motion_notify_event_t*>(message);
        emit moved(QPoint(motion->root_x, motion->root_y));
        break;
    }
    default:
        break;
    }
    return false;  // Qt handles them as well
}

}  // namespace saver
