#include "desktop/tray_icon_animation.h"

#include <QPixmap>

namespace desktop {

TPGTrayIconAnimation::TPGTrayIconAnimation(TPGTimerManager& timers, std::function<void()> step)
    : timer_(timers), step_(std::move(step)) {
    timer_.SetInterval(kDefaultInterval);
    timer_.OnTimer = [this](TPGTimerItem&) { Step(); };
}

void TPGTrayIconAnimation::SetInterval(int ms) {
    timer_.SetInterval(ms);
    if (Running()) Start();
}

void TPGTrayIconAnimation::SetIcons(const QStringList& icons) {
    icons_ = icons;
    if (Running()) next_ = 0;
}

void TPGTrayIconAnimation::Start() {
    timer_.SetEnabled(false);
    next_ = 0;
    Step();
    timer_.SetEnabled(true);
}

// The frame's picture is kept, not made from next_ when asked: between steps next_ is already
// the following frame, and the tray icon asks again whenever its other pictures change.
void TPGTrayIconAnimation::Step() {
    shown_ = {};
    if (next_ < icons_.size()) {
        const QString& entry = icons_[next_];
        const QIcon icon(options_ == 1 ? entry : QStringLiteral(":/") + entry.toUpper());
        shown_ = QIcon(icon.pixmap(kFrameSize, kFrameSize));
    }
    step_();
    next_ = next_ + 1 < icons_.size() ? next_ + 1 : 0;
}

}  // namespace desktop
