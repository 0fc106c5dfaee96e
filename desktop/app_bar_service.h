#pragma once
// The desktop's service for application bars, in place of the Windows shell's: a bar registers,
// asks where it may dock, reserves its edge (or nothing), claims the one auto-hide place of an
// edge, and hears when the work area or a full-screen window changes. AppBarX11Service is the
// X11 desktop's (EWMH), AppBarMemoryService the tests' shell; a desktop without either has no
// service (NoAppBarService) and every bar floats.
//
// Main thread only.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>

#include "desktop/app_bar_types.h"

namespace desktop {

using AppBarId = std::uintptr_t;  // the bar's native window

struct AppBarNotifications {
    std::function<void()> posChanged;              // the work area changed (ABN_POSCHANGED)
    std::function<void(bool open)> fullScreenApp;  // a full-screen window came or went
};

class AppBarService {
public:
    virtual ~AppBarService() = default;

    // False: no bar can dock here; they all float.
    virtual bool Available() const = 0;
    // ABM_NEW and ABM_REMOVE.
    virtual bool Register(AppBarId bar, AppBarNotifications notifications) = 0;
    virtual void Remove(AppBarId bar) = 0;
    // ABM_QUERYPOS: the proposed rectangle for the edge, moved clear of the other bars.
    virtual AppBarRect QueryPos(AppBarId bar, int edge, const AppBarRect& proposed) = 0;
    // ABM_SETPOS: reserves rect at the edge and returns what was granted. A floating edge or an
    // empty rectangle reserves nothing.
    virtual AppBarRect SetPos(AppBarId bar, int edge, const AppBarRect& rect) = 0;
    // ABM_SETAUTOHIDEBAR: claims (on) or gives back (off) the edge's auto-hide place; false when
    // another bar holds it.
    virtual bool SetAutoHideBar(AppBarId bar, int edge, bool on) = 0;
    // ABM_GETAUTOHIDEBAR: the bar holding the edge's auto-hide place, 0 when none.
    virtual AppBarId AutoHideBar(int edge) const = 0;
    // The window kind the desktop gives a bar: a dock (no frame, on every desktop, kept clear by
    // maximised windows) or a floating tool bar (a frame that neither minimises nor maximises).
    // Set while the window is not shown.
    virtual void SetDocked(AppBarId bar, bool docked) = 0;

    virtual AppBarRect Screen() const = 0;
    virtual AppBarRect WorkArea() const = 0;
    // Whether a mouse button is held, wherever the pointer is (the window manager holds it while
    // it moves a window by its title bar).
    virtual bool PointerButtonDown() const { return false; }
};

// The auto-hide place of each edge: at most one bar holds it.
class AutoHidePlaces {
public:
    // Claims (on) or gives back (off) the edge's place; false when another bar holds it.
    bool Set(AppBarId bar, int edge, bool on);
    AppBarId Holder(int edge) const;
    void Forget(AppBarId bar);

private:
    std::map<int, AppBarId> holders_;
};

// The desktop without a bar service: nothing docks.
class NoAppBarService final : public AppBarService {
public:
    explicit NoAppBarService(AppBarRect screen) : screen_(screen) {}
    bool Available() const override { return false; }
    bool Register(AppBarId, AppBarNotifications) override { return false; }
    void Remove(AppBarId) override {}
    AppBarRect QueryPos(AppBarId, int, const AppBarRect& proposed) override { return proposed; }
    AppBarRect SetPos(AppBarId, int, const AppBarRect& rect) override { return rect; }
    bool SetAutoHideBar(AppBarId, int, bool) override { return false; }
    AppBarId AutoHideBar(int) const override { return 0; }
    void SetDocked(AppBarId, bool) override {}
    AppBarRect Screen() const override { return screen_; }
    AppBarRect WorkArea() const override { return screen_; }

private:
    AppBarRect screen_;
};

// The service of this session, one for all the program's bars (so that they share the auto-hide
// places): EWMH on X11 when the display has a window manager that offers it, else none.
std::shared_ptr<AppBarService> DesktopAppBarService();

}  // namespace desktop
