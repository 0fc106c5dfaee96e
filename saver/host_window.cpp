#include "saver/host_window.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

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

QSize HostWindowSize(WId window) {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11) return {};
    xcb_connection_t* connection = x11->connection();
    const std::unique_ptr<xcb_get_geometry_reply_t, decltype(&std::free)> geometry(
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, static_cast<xcb_drawable_t>(window)), nullptr),
        &std::free);
    if (!geometry) return {};
    return {geometry->width, geometry->height};
}

}  // namespace saver
