#pragma once
// An application-bar shell kept in memory: it reserves each docked bar's rectangle, stacks bars
// of one edge, keeps one auto-hide bar per edge and reports the screen less the reservations as
// the work area. The tests' desktop.

#include <map>

#include "desktop/app_bar_service.h"

namespace desktop {

class AppBarMemoryService final : public AppBarService {
public:
    explicit AppBarMemoryService(AppBarRect screen) : screen_(screen) {}

    bool Available() const override { return true; }
    bool Register(AppBarId bar, AppBarNotifications notifications) override;
    void Remove(AppBarId bar) override;
    AppBarRect QueryPos(AppBarId bar, int edge, const AppBarRect& proposed) override;
    AppBarRect SetPos(AppBarId bar, int edge, const AppBarRect& rect) override;
    bool SetAutoHideBar(AppBarId bar, int edge, bool on) override;
    AppBarId AutoHideBar(int edge) const override;
    void SetDocked(AppBarId bar, bool docked) override;
    AppBarRect Screen() const override { return screen_; }
    AppBarRect WorkArea() const override;

    bool Registered(AppBarId bar) const { return bars_.count(bar) != 0; }
    bool Docked(AppBarId bar) const;
    // What the bar reserves (empty when nothing), and at which edge.
    AppBarRect Reserved(AppBarId bar) const;
    // Tells every bar but the one given that the work area changed, as the shell does.
    void NotifyPosChanged(AppBarId except = 0);
    void NotifyFullScreen(bool open);

private:
    struct Bar {
        AppBarNotifications notifications;
        int edge = abeFloat;
        AppBarRect reserved;
        bool docked = false;
    };
    AppBarRect screen_;
    std::map<AppBarId, Bar> bars_;
    AutoHidePlaces autoHide_;
};

}  // namespace desktop
