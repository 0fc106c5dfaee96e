#pragma once
// How long a program's main thread leaves the display waiting, seen from outside: a thread of
// this process sends the program's main window an X "ping" (_NET_WM_PING) every 10 ms, one at
// a time, and times the answer. Qt answers pings on the program's main thread, in its event
// loop, so an answer's delay is the time that thread was busy with something else (a paint,
// a burst of the engine's calls). The longest delay since Reset is kept. The pings themselves
// cost the program and the X server a little, as any window traffic would.
// The toolkit sends its answer to the root window for the window manager, which only the
// client redirecting the root's children receives: on a display without a window manager the
// probe takes that part, and passes every map and configure request on unchanged, so the
// program's windows behave as they did before.

#include <poll.h>
#include <sys/types.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <utility>

namespace bench {

class MainThreadProbe {
public:
    static constexpr std::chrono::milliseconds kEvery{10};

    // Looks for the shown window titled title of process pid on display for up to findTimeout,
    // then pings it until the probe goes.
    MainThreadProbe(const std::string& display, pid_t pid, const std::string& title,
                    std::chrono::milliseconds findTimeout)
        : connection_(xcb_connect(display.c_str(), nullptr)) {
        if (xcb_connection_has_error(connection_)) return;
        root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
        protocols_ = Atom("WM_PROTOCOLS");
        ping_ = Atom("_NET_WM_PING");
        pidAtom_ = Atom("_NET_WM_PID");
        const auto until = std::chrono::steady_clock::now() + findTimeout;
        while ((window_ = FindWindow(pid, title)) == 0 && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (window_ == 0) return;
        const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT;
        std::unique_ptr<xcb_generic_error_t, decltype(&std::free)> refused(
            xcb_request_check(connection_,
                              xcb_change_window_attributes_checked(connection_, root_, XCB_CW_EVENT_MASK, &mask)),
            &std::free);
        if (refused) return;  // a window manager runs: it gets the answers
        thread_ = std::thread([this] { Run(); });
    }
    ~MainThreadProbe() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        xcb_disconnect(connection_);
    }
    MainThreadProbe(const MainThreadProbe&) = delete;
    MainThreadProbe& operator=(const MainThreadProbe&) = delete;

    bool Pinging() const { return thread_.joinable(); }
    void Reset() {
        longestUs_ = 0;
        answers_ = 0;
    }
    double LongestMs() const { return static_cast<double>(longestUs_.load()) / 1000.0; }
    long Answers() const { return answers_; }

private:
    xcb_atom_t Atom(const char* name) {
        std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
            xcb_intern_atom_reply(connection_, xcb_intern_atom(connection_, 0, std::strlen(name), name), nullptr),
            &std::free);
        return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    }

    // The property's bytes, empty when the window has none.
    std::string Property(xcb_window_t window, xcb_atom_t property, xcb_atom_t type) {
        std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
            xcb_get_property_reply(connection_, xcb_get_property(connection_, 0, window, property, type, 0, 256),
                                   nullptr),
            &std::free);
        if (!reply) return {};
        return std::string(static_cast<const char*>(xcb_get_property_value(reply.get())),
                           static_cast<std::size_t>(xcb_get_property_value_length(reply.get())));
    }

    bool Shown(xcb_window_t window) {
        std::unique_ptr<xcb_get_window_attributes_reply_t, decltype(&std::free)> attributes(
            xcb_get_window_attributes_reply(connection_, xcb_get_window_attributes(connection_, window), nullptr),
            &std::free);
        return attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
    }

    xcb_window_t FindWindow(pid_t pid, const std::string& title) {
        std::unique_ptr<xcb_query_tree_reply_t, decltype(&std::free)> tree(
            xcb_query_tree_reply(connection_, xcb_query_tree(connection_, root_), nullptr), &std::free);
        if (!tree) return 0;
        const xcb_window_t* children = xcb_query_tree_children(tree.get());
        for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
            const std::string owner = Property(children[i], pidAtom_, XCB_ATOM_CARDINAL);
            std::uint32_t ownerPid = 0;
            if (owner.size() != sizeof ownerPid) continue;
            std::memcpy(&ownerPid, owner.data(), sizeof ownerPid);
            if (ownerPid == static_cast<std::uint32_t>(pid) &&
                Property(children[i], XCB_ATOM_WM_NAME, XCB_ATOM_STRING) == title && Shown(children[i]))
                return children[i];
        }
        return 0;
    }

    void Run() {
        for (std::uint32_t serial = 1; !stop_; ++serial) {
            xcb_client_message_event_t ping{};
            ping.response_type = XCB_CLIENT_MESSAGE;
            ping.format = 32;
            ping.window = window_;
            ping.type = protocols_;
            ping.data.data32[0] = ping_;
            ping.data.data32[1] = serial;
            ping.data.data32[2] = window_;
            const auto sent = std::chrono::steady_clock::now();
            xcb_send_event(connection_, 0, window_, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&ping));
            xcb_flush(connection_);
            if (!AwaitAnswer(serial)) return;
            const auto waited = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - sent);
            ++answers_;
            for (long long seen = longestUs_; waited.count() > seen && !longestUs_.compare_exchange_weak(seen, waited.count());) {
            }
            std::this_thread::sleep_for(kEvery);
        }
    }

    // False when the probe goes or the connection broke first.
    bool AwaitAnswer(std::uint32_t serial) {
        pollfd readable{xcb_get_file_descriptor(connection_), POLLIN, 0};
        while (!stop_) {
            while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
                const bool answer = (event->response_type & 0x7F) == XCB_CLIENT_MESSAGE &&
                                    reinterpret_cast<xcb_client_message_event_t*>(event)->data.data32[0] == ping_ &&
                                    reinterpret_cast<xcb_client_message_event_t*>(event)->data.data32[1] == serial;
                PassOn(event);
                std::free(event);
                if (answer) return true;
            }
            if (xcb_connection_has_error(connection_)) return false;
            poll(&readable, 1, 100);
        }
        return false;
    }

    // What the display does without a window manager: maps and configures as asked.
    void PassOn(const xcb_generic_event_t* event) {
        switch (event->response_type & 0x7F) {
            case XCB_MAP_REQUEST:
                xcb_map_window(connection_, reinterpret_cast<const xcb_map_request_event_t*>(event)->window);
                break;
            case XCB_CONFIGURE_REQUEST: {
                const auto* asked = reinterpret_cast<const xcb_configure_request_event_t*>(event);
                std::uint32_t values[7];
                int n = 0;
                const std::pair<std::uint16_t, std::uint32_t> fields[] = {
                    {XCB_CONFIG_WINDOW_X, static_cast<std::uint32_t>(asked->x)},
                    {XCB_CONFIG_WINDOW_Y, static_cast<std::uint32_t>(asked->y)},
                    {XCB_CONFIG_WINDOW_WIDTH, asked->width},
                    {XCB_CONFIG_WINDOW_HEIGHT, asked->height},
                    {XCB_CONFIG_WINDOW_BORDER_WIDTH, asked->border_width},
                    {XCB_CONFIG_WINDOW_SIBLING, asked->sibling},
                    {XCB_CONFIG_WINDOW_STACK_MODE, asked->stack_mode}};
                for (const auto& [flag, value] : fields)
                    if (asked->value_mask & flag) values[n++] = value;
                xcb_configure_window(connection_, asked->window, asked->value_mask, values);
                break;
            }
            default:
                return;
        }
        xcb_flush(connection_);
    }

    xcb_connection_t* connection_;
    xcb_window_t root_ = 0, window_ = 0;
    xcb_atom_t protocols_ = XCB_ATOM_NONE, ping_ = XCB_ATOM_NONE, pidAtom_ = XCB_ATOM_NONE;
    std::atomic<bool> stop_{false};
    std::atomic<long long> longestUs_{0};
    std::atomic<long> answers_{0};
    std::thread thread_;
};

}  // namespace bench
