#pragma once
// A plain window made by a test on its X display: override-redirect, as a screen-saver daemon
// makes the one it hands over, or an ordinary one, as another program's window that has the
// focus. Header-only: the test program links xcb itself.

#include <xcb/xcb.h>

#include <cstdint>
#include <string>

namespace testsupport {

class PlainXWindow {
public:
    PlainXWindow(const std::string& display, int x, int y, int width, int height, bool ordinary = false) {
        connection_ = xcb_connect(display.c_str(), nullptr);
        if (xcb_connection_has_error(connection_)) return;
        xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
        window_ = xcb_generate_id(connection_);
        const std::uint32_t values[] = {screen->white_pixel, ordinary ? 0u : 1u};  // override-redirect: placed as asked
        xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window_, screen->root, static_cast<std::int16_t>(x),
                          static_cast<std::int16_t>(y), static_cast<std::uint16_t>(width),
                          static_cast<std::uint16_t>(height), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                          XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT, values);
        const std::string title = "Other window";
        xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, window_, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                            static_cast<std::uint32_t>(title.size()), title.data());
        xcb_map_window(connection_, window_);
        xcb_flush(connection_);
    }
    ~PlainXWindow() {
        if (connection_) xcb_disconnect(connection_);
    }
    PlainXWindow(const PlainXWindow&) = delete;
    PlainXWindow& operator=(const PlainXWindow&) = delete;

    std::uint32_t id() const { return window_; }
    std::string name() const { return std::to_string(window_); }

private:
    xcb_connection_t* connection_ = nullptr;
    std::uint32_t window_ = 0;
};

}  // namespace testsupport
