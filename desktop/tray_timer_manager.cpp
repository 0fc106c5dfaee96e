#include "desktop/tray_timer_manager.h"

#include <algorithm>
#include <chrono>

namespace desktop {

TickClock SteadyTickClock() {
    return [] {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    };
}

TPGTimerItem::TPGTimerItem(TPGTimerManager& manager) : manager_(manager) { manager_.Add(this); }

TPGTimerItem::~TPGTimerItem() {
    const bool wasEnabled = enabled_;
    manager_.Remove(this);
    if (wasEnabled) manager_.ItemsChanged(nullptr);
}

void TPGTimerItem::SetInterval(int ms) {
    if (ms == interval_) return;
    interval_ = ms;
    if (enabled_) manager_.ItemsChanged(this);
}

void TPGTimerItem::SetEnabled(bool on) {
    if (on == enabled_) return;
    enabled_ = on;
    manager_.ItemsChanged(on ? this : nullptr);
}

TPGTimerManager::TPGTimerManager(QObject* parent, TickClock clock) : QObject(parent), clock_(std::move(clock)) {
    connect(&timer_, &QTimer::timeout, this, [this] { Tick(); });
}

TPGTimerManager::~TPGTimerManager() { timer_.stop(); }

void TPGTimerManager::SetEnabled(bool on) {
    enabled_ = on;
    ItemsChanged(nullptr);
}

void TPGTimerManager::Remove(TPGTimerItem* item) { std::erase(items_, item); }

void TPGTimerManager::ItemsChanged(TPGTimerItem* started) {
    if (started) started->lastFired_ = clock_();
    int interval = 0;
    for (const TPGTimerItem* item : items_)
        if (item->enabled_ && (interval == 0 || item->interval_ < interval)) interval = item->interval_;
    if (!enabled_ || interval <= 0) {
        timer_.stop();
        return;
    }
    interval = std::min(interval, kMaxTickMs);
    if (!timer_.isActive() || timer_.interval() != interval) timer_.start(interval);
}

void TPGTimerManager::Tick() {
    // A handler may enable, disable or destroy items: walk a copy and skip the ones gone.
    const std::vector<TPGTimerItem*> items = items_;
    for (TPGTimerItem* item : items) {
        if (std::find(items_.begin(), items_.end(), item) == items_.end()) continue;
        if (!item->enabled_ || !item->OnTimer) continue;
        const std::int64_t now = clock_();
        if (now - item->lastFired_ <= item->interval_) continue;
        item->lastFired_ = now;
        item->OnTimer(*item);
    }
}

}  // namespace desktop
