#include "desktop/app_bar_memory_service.h"

#include <algorithm>
#include <vector>

namespace desktop {

bool AppBarMemoryService::Register(AppBarId bar, AppBarNotifications notifications) {
    if (bars_.count(bar)) return false;
    bars_[bar].notifications = std::move(notifications);
    return true;
}

void AppBarMemoryService::Remove(AppBarId bar) {
    autoHide_.Forget(bar);
    const bool reserved = bars_.count(bar) && !bars_[bar].reserved.Empty();
    bars_.erase(bar);
    if (reserved) NotifyPosChanged();
}

AppBarRect AppBarMemoryService::QueryPos(AppBarId bar, int edge, const AppBarRect& proposed) {
    AppBarRect r = proposed;
    for (const auto& [id, other] : bars_) {
        if (id == bar || other.reserved.Empty()) continue;
        const AppBarRect& o = other.reserved;
        // A bar on the same edge stacks outside it, one on a side edge stays clear of it.
        switch (other.edge) {
            case abeLeft:
                if (edge != abeRight) r.left = std::max(r.left, o.right);
                break;
            case abeRight:
                if (edge != abeLeft) r.right = std::min(r.right, o.left);
                break;
            case abeTop:
                if (edge != abeBottom) r.top = std::max(r.top, o.bottom);
                break;
            case abeBottom:
                if (edge != abeTop) r.bottom = std::min(r.bottom, o.top);
                break;
            default: break;
        }
    }
    return r;
}

AppBarRect AppBarMemoryService::SetPos(AppBarId bar, int edge, const AppBarRect& rect) {
    auto it = bars_.find(bar);
    if (it == bars_.end()) return rect;
    const bool reserve = IsDockedEdge(edge) && !rect.Empty();
    const AppBarRect granted = reserve ? QueryPos(bar, edge, rect) : AppBarRect{};
    const bool changed = !(it->second.reserved == granted) || it->second.edge != edge;
    it->second.edge = edge;
    it->second.reserved = granted;
    if (changed) NotifyPosChanged(bar);
    return reserve ? granted : rect;
}

bool AppBarMemoryService::SetAutoHideBar(AppBarId bar, int edge, bool on) { return autoHide_.Set(bar, edge, on); }

AppBarId AppBarMemoryService::AutoHideBar(int edge) const { return autoHide_.Holder(edge); }

void AppBarMemoryService::SetDocked(AppBarId bar, bool docked) {
    const auto it = bars_.find(bar);
    if (it != bars_.end()) it->second.docked = docked;
}

AppBarRect AppBarMemoryService::WorkArea() const {
    AppBarRect wa = screen_;
    for (const auto& [id, bar] : bars_) {
        if (bar.reserved.Empty()) continue;
        switch (bar.edge) {
            case abeLeft: wa.left = std::max(wa.left, bar.reserved.right); break;
            case abeTop: wa.top = std::max(wa.top, bar.reserved.bottom); break;
            case abeRight: wa.right = std::min(wa.right, bar.reserved.left); break;
            case abeBottom: wa.bottom = std::min(wa.bottom, bar.reserved.top); break;
            default: break;
        }
    }
    return wa;
}

bool AppBarMemoryService::Docked(AppBarId bar) const {
    const auto it = bars_.find(bar);
    return it != bars_.end() && it->second.docked;
}

AppBarRect AppBarMemoryService::Reserved(AppBarId bar) const {
    const auto it = bars_.find(bar);
    return it == bars_.end() ? AppBarRect{} : it->second.reserved;
}

void AppBarMemoryService::NotifyPosChanged(AppBarId except) {
    std::vector<std::function<void()>> calls;
    for (const auto& [id, bar] : bars_) {
        if (id != except && bar.notifications.posChanged) calls.push_back(bar.notifications.posChanged);
    }
    for (const auto& call : calls) call();
}

void AppBarMemoryService::NotifyFullScreen(bool open) {
    std::vector<std::function<void(bool)>> calls;
    for (const auto& [id, bar] : bars_) {
        if (bar.notifications.fullScreenApp) calls.push_back(bar.notifications.fullScreenApp);
    }
    for (const auto& call : calls) call(open);
}

}  // namespace desktop
