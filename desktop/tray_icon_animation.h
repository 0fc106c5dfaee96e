#pragma once
// TPGTrayIconAnimation: the frames the tray icon shows in turn while its state is tsAnimated,
// one every Interval milliseconds on the tray icon's timer manager. Each entry of Icons is an
// icon file (Options 1) or the name of an icon resource (any other value; upper-cased, as
// ":/NAME"), shown at 16 x 16.
//
// Main thread only.

#include <QIcon>
#include <QStringList>

#include <functional>

#include "desktop/tray_timer_manager.h"

namespace desktop {

class TPGTrayIconAnimation {
public:
    static constexpr int kDefaultInterval = 1000;
    static constexpr int kFrameSize = 16;

    // step runs for each frame before it advances: the tray icon's OnAnimation and its picture.
    TPGTrayIconAnimation(TPGTimerManager& timers, std::function<void()> step);

    int Interval() const { return timer_.Interval(); }
    // Restarts a running animation.
    void SetInterval(int ms);
    const QStringList& Icons() const { return icons_; }
    // A running animation goes on from the first frame.
    void SetIcons(const QStringList& icons);
    int Options() const { return options_; }
    void SetOptions(int options) { options_ = options; }

    // The picture of the frame shown last; null before the first step.
    const QIcon& FrameIcon() const { return shown_; }
    bool Running() const { return timer_.Enabled(); }

    // From the first frame: one step at once, then one each Interval.
    void Start();
    void Stop() { timer_.SetEnabled(false); }

private:
    void Step();

    TPGTimerItem timer_;
    std::function<void()> step_;
    QStringList icons_;
    int options_ = 1;
    int next_ = 0;  // the frame the next step shows
    QIcon shown_;
};

}  // namespace desktop
