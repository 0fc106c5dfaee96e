#include "desktop/app_bar_service.h"

namespace desktop {

bool AutoHidePlaces::Set(AppBarId bar, int edge, bool on) {
    const auto it = holders_.find(edge);
    if (!on) {
        if (it != holders_.end() && it->second == bar) holders_.erase(it);
        return true;
    }
    if (it != holders_.end() && it->second != bar) return false;
    holders_[edge] = bar;
    return true;
}

AppBarId AutoHidePlaces::Holder(int edge) const {
    const auto it = holders_.find(edge);
    return it == holders_.end() ? 0 : it->second;
}

void AutoHidePlaces::Forget(AppBarId bar) {
    for (auto it = holders_.begin(); it != holders_.end();) it = it->second == bar ? holders_.erase(it) : std::next(it);
}

}  // namespace desktop
