#pragma once
// Several interval timers on one Qt timer: the tray icon's click and pointer timers. The Qt
// timer ticks at the smallest interval among the enabled items, but at least every 150 ms;
// each tick calls every enabled item whose interval has passed since it last fired.
//
// Main thread only. Time comes from a clock the owner may replace (tests step it by hand and
// call Tick themselves).

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <vector>

namespace desktop {

// Milliseconds on a monotonic clock.
using TickClock = std::function<std::int64_t()>;
TickClock SteadyTickClock();

class TPGTimerManager;

class TPGTimerItem {
public:
    // Disabled, interval 1000 ms, no handler; registered with manager until destroyed.
    explicit TPGTimerItem(TPGTimerManager& manager);
    ~TPGTimerItem();
    TPGTimerItem(const TPGTimerItem&) = delete;
    TPGTimerItem& operator=(const TPGTimerItem&) = delete;

    int Interval() const { return interval_; }
    void SetInterval(int ms);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool on);

    std::function<void(TPGTimerItem&)> OnTimer;

private:
    friend class TPGTimerManager;
    TPGTimerManager& manager_;
    int interval_ = 1000;
    bool enabled_ = false;
    std::int64_t lastFired_ = 0;
};

class TPGTimerManager : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxTickMs = 150;

    explicit TPGTimerManager(QObject* parent = nullptr, TickClock clock = SteadyTickClock());
    ~TPGTimerManager() override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool on);
    // The Qt timer's interval while it runs; 0 when it is stopped.
    int TimerInterval() const { return timer_.isActive() ? timer_.interval() : 0; }
    // One tick of the Qt timer.
    void Tick();

private:
    friend class TPGTimerItem;
    void Add(TPGTimerItem* item) { items_.push_back(item); }
    void Remove(TPGTimerItem* item);
    // An item was enabled or its interval changed (item), or one was disabled (null).
    void ItemsChanged(TPGTimerItem* started);

    TickClock clock_;
    QTimer timer_;
    bool enabled_ = true;
    std::vector<TPGTimerItem*> items_;
};

}  // namespace desktop
