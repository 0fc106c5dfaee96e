#include "desktop/app_bar_x11_service.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>

namespace desktop {

namespace {

// A window that goes away between two requests (the active window, a bar being destroyed) must
// not end the program: Xlib's default handler exits on any error.
int IgnoreXErrors(Display*, XErrorEvent*) { return 0; }

}  // namespace

AppBarX11Service::AppBarX11Service(const std::string& displayName) {
    display_ = XOpenDisplay(displayName.empty() ? nullptr : displayName.c_str());
    if (!display_) return;
    XSetErrorHandler(IgnoreXErrors);
    root_ = DefaultRootWindow(display_);
    XSelectInput(display_, root_, PropertyChangeMask);
    ewmh_ = CheckWindowManager();
    workArea_ = WorkArea();
    FollowActiveWindow();
    fullScreen_ = ActiveWindowFullScreen();
    WatchClients();
    othersFree_ = FreeOf({});
    XFlush(display_);
}

AppBarX11Service::~AppBarX11Service() {
    if (display_) XCloseDisplay(display_);
}

int AppBarX11Service::EventFd() const { return display_ ? ConnectionNumber(display_) : -1; }

unsigned long AppBarX11Service::Intern(const char* name) const { return XInternAtom(display_, name, False); }

bool AppBarX11Service::ReadCardinals(unsigned long window, const char* property, std::vector<long>& values) const {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(display_, window, Intern(property), 0, 1024, False, AnyPropertyType, &type,
                                          &format, &count, &after, &data);
    values.clear();
    if (status != Success || !data) return false;
    if (format == 32) {
        const long* longs = reinterpret_cast<const long*>(data);  // Xlib hands 32-bit items as longs
        values.assign(longs, longs + count);
    }
    XFree(data);
    return format == 32;
}

bool AppBarX11Service::CheckWindowManager() const {
    // EWMH: the root names a check window that names itself.
    std::vector<long> check, self;
    if (!ReadCardinals(root_, "_NET_SUPPORTING_WM_CHECK", check) || check.empty()) return false;
    if (!ReadCardinals(static_cast<unsigned long>(check[0]), "_NET_SUPPORTING_WM_CHECK", self) || self.empty()) {
        return false;
    }
    return self[0] == check[0];
}

bool AppBarX11Service::Available() const { return display_ && ewmh_; }

bool AppBarX11Service::Register(AppBarId bar, AppBarNotifications notifications) {
    if (!Available() || bars_.count(bar)) return false;
    bars_[bar].notifications = std::move(notifications);
    return true;
}

void AppBarX11Service::Remove(AppBarId bar) {
    const auto it = bars_.find(bar);
    if (it == bars_.end()) return;
    autoHide_.Forget(bar);
    XDeleteProperty(display_, bar, Intern("_NET_WM_STRUT_PARTIAL"));
    XDeleteProperty(display_, bar, Intern("_NET_WM_STRUT"));
    XFlush(display_);
    bars_.erase(it);
}

AppBarRect AppBarX11Service::FreeOf(const std::set<unsigned long>& bars) const {
    // What the other windows' struts (panels, other bars) leave of the screen. The work area
    // holds the bars' own struts as well, and they cannot be told apart from another's there.
    const AppBarRect screen = Screen();
    AppBarRect free = screen;
    std::vector<long> clients, strut;
    if (!ReadCardinals(root_, "_NET_CLIENT_LIST", clients)) {
        // A window manager that lists no clients: its work area less the bars' own struts.
        free = WorkArea();
        for (const unsigned long bar : bars) {
            const auto it = bars_.find(bar);
            if (it == bars_.end() || it->second.strut.empty()) continue;
            const std::vector<long>& own = it->second.strut;
            if (own[0]) free.left = screen.left;
            if (own[1]) free.right = screen.right;
            if (own[2]) free.top = screen.top;
            if (own[3]) free.bottom = screen.bottom;
        }
        return free;
    }
    for (const long client : clients) {
        const auto window = static_cast<unsigned long>(client);
        if (bars.count(window)) continue;
        if ((!ReadCardinals(window, "_NET_WM_STRUT_PARTIAL", strut) || strut.size() < 4) &&
            (!ReadCardinals(window, "_NET_WM_STRUT", strut) || strut.size() < 4))
            continue;
        free.left = std::max(free.left, screen.left + static_cast<int>(strut[0]));
        free.right = std::min(free.right, screen.right - static_cast<int>(strut[1]));
        free.top = std::max(free.top, screen.top + static_cast<int>(strut[2]));
        free.bottom = std::min(free.bottom, screen.bottom - static_cast<int>(strut[3]));
    }
    return free;
}

AppBarRect AppBarX11Service::QueryPos(AppBarId bar, int edge, const AppBarRect& proposed) {
    const AppBarRect free = FreeOfOthers(bar);
    AppBarRect r = proposed;
    if (edge != abeRight) r.left = std::max(r.left, free.left);
    if (edge != abeLeft) r.right = std::min(r.right, free.right);
    if (edge != abeBottom) r.top = std::max(r.top, free.top);
    if (edge != abeTop) r.bottom = std::min(r.bottom, free.bottom);
    AnnounceQueuedEvents();
    return r;
}

AppBarRect AppBarX11Service::SetPos(AppBarId bar, int edge, const AppBarRect& rect) {
    const auto it = bars_.find(bar);
    if (it == bars_.end()) return rect;
    const bool reserve = IsDockedEdge(edge) && !rect.Empty();
    const AppBarRect granted = reserve ? QueryPos(bar, edge, rect) : rect;
    WriteStrut(bar, it->second, reserve ? edge : abeFloat, granted);
    return granted;
}

void AppBarX11Service::WriteStrut(AppBarId bar, Bar& state, int edge, const AppBarRect& r) {
    const AppBarRect screen = Screen();
    // left, right, top, bottom, then the start and end of each along its edge.
    std::vector<long> strut(12, 0);
    switch (edge) {
        case abeLeft: strut[0] = r.right; strut[4] = r.top; strut[5] = r.bottom - 1; break;
        case abeRight: strut[1] = screen.right - r.left; strut[6] = r.top; strut[7] = r.bottom - 1; break;
        case abeTop: strut[2] = r.bottom; strut[8] = r.left; strut[9] = r.right - 1; break;
        case abeBottom: strut[3] = screen.bottom - r.top; strut[10] = r.left; strut[11] = r.right - 1; break;
        default: break;
    }
    state.edge = edge;
    // Rewriting the same strut would make the window manager publish the work area again, and
    // the bars would answer that by setting their position again, without end.
    if (strut == state.strut) return;
    state.strut = strut;
    XChangeProperty(display_, bar, Intern("_NET_WM_STRUT_PARTIAL"), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(strut.data()), 12);
    XChangeProperty(display_, bar, Intern("_NET_WM_STRUT"), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(strut.data()), 4);
    XFlush(display_);
}

bool AppBarX11Service::SetAutoHideBar(AppBarId bar, int edge, bool on) { return autoHide_.Set(bar, edge, on); }

AppBarId AppBarX11Service::AutoHideBar(int edge) const { return autoHide_.Holder(edge); }

void AppBarX11Service::SetDocked(AppBarId bar, bool docked) {
    if (!display_) return;
    // Floating, the bar is a tool bar torn off the program: the window manager then offers no
    // minimise (there is no task-bar button to come back from) and no maximise.
    const long type = static_cast<long>(Intern(docked ? "_NET_WM_WINDOW_TYPE_DOCK" : "_NET_WM_WINDOW_TYPE_TOOLBAR"));
    XChangeProperty(display_, bar, Intern("_NET_WM_WINDOW_TYPE"), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&type), 1);
    // The window is mapped next by the toolkit's own connection: this must reach the server first.
    XSync(display_, False);
    AnnounceQueuedEvents();
}

AppBarRect AppBarX11Service::Screen() const {
    if (!display_) return {};
    const int screen = DefaultScreen(display_);
    return {0, 0, DisplayWidth(display_, screen), DisplayHeight(display_, screen)};
}

AppBarRect AppBarX11Service::WorkArea() const {
    std::vector<long> area, desktop;
    if (!display_ || !ReadCardinals(root_, "_NET_WORKAREA", area) || area.size() < 4) return Screen();
    std::size_t index = 0;
    if (ReadCardinals(root_, "_NET_CURRENT_DESKTOP", desktop) && !desktop.empty() &&
        area.size() >= 4 * (static_cast<std::size_t>(desktop[0]) + 1)) {
        index = 4 * static_cast<std::size_t>(desktop[0]);
    }
    const int x = static_cast<int>(area[index]), y = static_cast<int>(area[index + 1]);
    return {x, y, x + static_cast<int>(area[index + 2]), y + static_cast<int>(area[index + 3])};
}

void AppBarX11Service::WatchClients() {
    // A panel that comes, goes or changes its strut may leave the work area as it was (a bar's
    // own strut reaching further): its strut is followed on the window itself.
    std::vector<long> clients;
    if (!ReadCardinals(root_, "_NET_CLIENT_LIST", clients)) return;
    std::set<unsigned long> now;
    for (const long client : clients) {
        const auto window = static_cast<unsigned long>(client);
        if (bars_.count(window)) continue;
        now.insert(window);
        if (!watched_.count(window)) XSelectInput(display_, window, PropertyChangeMask);
    }
    watched_ = std::move(now);
}

bool AppBarX11Service::PointerButtonDown() const {
    if (!display_) return false;
    Window root = 0, child = 0;
    int rootX = 0, rootY = 0, x = 0, y = 0;
    unsigned int mask = 0;
    if (!XQueryPointer(display_, root_, &root, &child, &rootX, &rootY, &x, &y, &mask)) return false;
    return (mask & (Button1Mask | Button2Mask | Button3Mask)) != 0;
}

void AppBarX11Service::FollowActiveWindow() {
    std::vector<long> active;
    const unsigned long window =
        ReadCardinals(root_, "_NET_ACTIVE_WINDOW", active) && !active.empty() ? static_cast<unsigned long>(active[0]) : 0;
    if (window == activeWindow_) return;
    activeWindow_ = window;
    if (window && !bars_.count(window)) XSelectInput(display_, window, PropertyChangeMask);
}

bool AppBarX11Service::ActiveWindowFullScreen() const {
    if (!activeWindow_) return false;
    std::vector<long> states;
    if (!ReadCardinals(activeWindow_, "_NET_WM_STATE", states)) return false;
    const long fullScreen = static_cast<long>(Intern("_NET_WM_STATE_FULLSCREEN"));
    return std::find(states.begin(), states.end(), fullScreen) != states.end();
}

void AppBarX11Service::ProcessEvents() {
    if (!display_) return;
    bool areaChanged = false, stateChanged = false, strutsChanged = false;
    while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        if (event.type != PropertyNotify) continue;
        const Atom property = event.xproperty.atom;
        if (event.xproperty.window == root_) {
            if (property == Intern("_NET_WORKAREA") || property == Intern("_NET_CURRENT_DESKTOP")) areaChanged = true;
            if (property == Intern("_NET_ACTIVE_WINDOW")) stateChanged = true;
            if (property == Intern("_NET_SUPPORTING_WM_CHECK")) ewmh_ = CheckWindowManager();
            if (property == Intern("_NET_CLIENT_LIST")) strutsChanged = true;
        } else if (property == Intern("_NET_WM_STATE")) {
            stateChanged = true;
        } else if (property == Intern("_NET_WM_STRUT_PARTIAL") || property == Intern("_NET_WM_STRUT")) {
            strutsChanged = !bars_.count(event.xproperty.window) || strutsChanged;
        }
    }
    bool posChanged = false;
    if (areaChanged) {
        const AppBarRect area = WorkArea();
        posChanged = !(area == workArea_);
        workArea_ = area;
    }
    if (strutsChanged) {
        // Also when the work area stays as it was: a bar's own strut may reach further.
        WatchClients();
        std::set<unsigned long> mine;
        for (const auto& [id, bar] : bars_) mine.insert(id);
        const AppBarRect free = FreeOf(mine);
        posChanged = posChanged || !(free == othersFree_);
        othersFree_ = free;
    }
    // Copies: a notification may remove its bar.
    std::vector<AppBarNotifications> targets;
    for (const auto& [id, bar] : bars_) targets.push_back(bar.notifications);
    if (posChanged) {
        for (const auto& n : targets) {
            if (n.posChanged) n.posChanged();
        }
    }
    if (stateChanged) {
        FollowActiveWindow();
        const bool open = ActiveWindowFullScreen();
        if (open != fullScreen_) {
            fullScreen_ = open;
            for (const auto& n : targets) {
                if (n.fullScreenApp) n.fullScreenApp(open);
            }
        }
    }
    // The replies read above may have brought events along, which the connection's socket no
    // longer announces.
    AnnounceQueuedEvents();
}

void AppBarX11Service::AnnounceQueuedEvents() {
    if (display_ && XQLength(display_) > 0 && eventsQueued) eventsQueued();
}

}  // namespace desktop
