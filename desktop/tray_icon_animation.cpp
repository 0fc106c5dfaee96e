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
    if (Running()) frame_ = 0;
}

QIcon TPGTrayIconAnimation::FrameIcon() const {
    if (frame_ >= icons_.size()) return {};
    const QString& entry = icons_[frame_];
    const QIcon icon(options_ == 1 ? entry : QStringLiteral(":/") + entry.toUpper());
    return QIcon(icon.pixmap(kFrameSize, kFrameSize));
}

void TPGTrayIconAnimation::Start() {
    timer_.SetEnabled(false);
    frame_ = 0;
    Step();
    timer_.SetEnabled(true);
}

void TPGTrayIconAnimation::Step() {
    step_();
    frame_ = frame_ + 1 < icons_.size() ? frame_ + 1 : 0;
}

}  // namespace desktop
