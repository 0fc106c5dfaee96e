#include "saver/host_window.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTimer>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <unistd.h>

#include <cstdlib>
#include <memory>

namespace saver {

WId HostWindowFromEnvironment() {
    const char* text = std::getenv("XSCREENSAVER_WINDOW");
    if (!text || !*text) return 0;
    char* end = nullptr;
    const unsigned long long id = std::strtoull(text, &end, 0);
    return *end == '\0' ? static_cast<WId>(id) : 0;
}

xcb_connection_t* XConnection() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

QSize HostWindowSize(WId window) {
    xcb_connection_t* connection = XConnection();
    if (!connection) return {};
    const std::unique_ptr<xcb_get_geometry_reply_t, decltype(&std::free)> geometry(
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, static_cast<xcb_drawable_t>(window)), nullptr),
        &std::free);
    if (!geometry) return {};
    return {geometry->width, geometry->height};
}

HostWatch::HostWatch(WId window, QObject* parent)
    : QObject(parent), window_(window), parent_(::getppid()), timer_(new QTimer(this)) {
    timer_->setInterval(500);
    connect(timer_, &QTimer::timeout, this, &HostWatch::Look);
    timer_->start();
}

void HostWatch::Look() {
    // A dead parent hands its children to another process (init or a subreaper).
    if (::getppid() != parent_ || HostWindowSize(window_).isEmpty()) {
        timer_->stop();
        QCoreApplication::exit(0);
    }
}

}  // namespace saver
