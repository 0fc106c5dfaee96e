#pragma once
// The application-bar service of an X11 desktop, through EWMH on a connection of its own: a
// docked bar is a window of type _NET_WM_WINDOW_TYPE_DOCK whose _NET_WM_STRUT_PARTIAL (and
// _NET_WM_STRUT) reserves its edge, so the window manager shrinks _NET_WORKAREA and maximised
// windows stay clear of it; an auto-hidden or floating bar reserves nothing. A bar docks clear of
// the struts of the other windows (panels, other bars) on the same edge. The auto-hide place
// of each edge is kept among this program's bars. Without a window manager that supports EWMH the
// service is not available and bars float.
//
// Notifications: a change of _NET_WORKAREA or of another window's strut (posChanged) and _NET_WM_STATE_FULLSCREEN of the
// active window (fullScreenApp). The caller watches EventFd() and calls ProcessEvents(); events
// that a request's reply brought along are announced through eventsQueued.
//
// Main thread only.

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "desktop/app_bar_service.h"

typedef struct _XDisplay Display;

namespace desktop {

class AppBarX11Service final : public AppBarService {
public:
    // displayName: as XOpenDisplay takes it (empty: $DISPLAY).
    explicit AppBarX11Service(const std::string& displayName);
    ~AppBarX11Service() override;
    AppBarX11Service(const AppBarX11Service&) = delete;
    AppBarX11Service& operator=(const AppBarX11Service&) = delete;

    // Whether the display could be opened at all.
    bool Connected() const { return display_ != nullptr; }
    int EventFd() const;
    void ProcessEvents();
    std::function<void()> eventsQueued;

    bool Available() const override;
    bool Register(AppBarId bar, AppBarNotifications notifications) override;
    void Remove(AppBarId bar) override;
    AppBarRect QueryPos(AppBarId bar, int edge, const AppBarRect& proposed) override;
    AppBarRect SetPos(AppBarId bar, int edge, const AppBarRect& rect) override;
    bool SetAutoHideBar(AppBarId bar, int edge, bool on) override;
    AppBarId AutoHideBar(int edge) const override;
    void SetDocked(AppBarId bar, bool docked) override;
    AppBarRect Screen() const override;
    AppBarRect WorkArea() const override;
    bool PointerButtonDown() const override;

private:
    struct Bar {
        AppBarNotifications notifications;
        int edge = abeFloat;
        std::vector<long> strut;  // the 12 values last written
    };
    unsigned long Intern(const char* name) const;
    bool ReadCardinals(unsigned long window, const char* property, std::vector<long>& values) const;
    bool CheckWindowManager() const;
    // The screen less the struts of the windows that are none of these bars.
    AppBarRect FreeOf(const std::set<unsigned long>& bars) const;
    AppBarRect FreeOfOthers(AppBarId bar) const { return FreeOf({bar}); }
    void WatchClients();
    void WriteStrut(AppBarId bar, Bar& state, int edge, const AppBarRect& rect);
    void FollowActiveWindow();
    bool ActiveWindowFullScreen() const;
    void AnnounceQueuedEvents();

    Display* display_ = nullptr;
    unsigned long root_ = 0;
    bool ewmh_ = false;
    AppBarRect workArea_;
    unsigned long activeWindow_ = 0;
    bool fullScreen_ = false;
    std::map<AppBarId, Bar> bars_;
    std::set<unsigned long> watched_;  // other clients whose struts are followed
    AppBarRect othersFree_;            // what their struts left at the last look
    AutoHidePlaces autoHide_;
};

}  // namespace desktop
