#include "ui/controls/round_led.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include <array>

#include "media/color.h"
#include "media/qt/qt_convert.h"
#include "ui/controls/led_bitmap.h"

namespace ui {

namespace {

constexpr std::array<media::TColor, 8> kOnColors = {media::clSilver, media::clRed,     media::clLime,
                                                    media::clYellow, media::clBlue,    media::clFuchsia,
                                                    media::clAqua,   media::clWhite};
constexpr std::array<media::TColor, 8> kOffColors = {media::clBlack, media::clMaroon, media::clGreen,
                                                     media::clOlive, media::clNavy,   media::clPurple,
                                                     media::clTeal,  media::clGray};

template <std::size_t N>
QColor PairColor(const std::array<media::TColor, N>& colors, int index) {
    return media::ToQColor(index >= 0 && index < static_cast<int>(N) ? colors[index] : colors[0]);
}

}  // namespace

QColor LedOnColorValue(TLedOnColors color) { return PairColor(kOnColors, color); }
QColor LedOffColorValue(TLedOffColors color) { return PairColor(kOffColors, color); }

TRoundLed::TRoundLed(QWidget* owner) : QWidget(owner) {
    setFixedSize(GenericLed().size());
    Changed();
}

void TRoundLed::SetLedOnColor(TLedOnColors color) {
    on_color_ = color;
    if (auto_select_) off_color_ = static_cast<TLedOffColors>(color);
    Changed();
}

void TRoundLed::SetLedOffColor(TLedOffColors color) {
    off_color_ = color;
    if (auto_select_) on_color_ = static_cast<TLedOnColors>(color);
    Changed();
}

void TRoundLed::SetBlinkRate(std::uint16_t rate) {
    if (rate == blink_rate_) return;
    blink_rate_ = rate;
    if (blink_timer_) StartBlinking();
}

void TRoundLed::SetLedStatus(TLedStatus status) {
    if (status != status_) {
        delete blink_timer_;
        blink_timer_ = nullptr;
        status_ = status;
        switch (status) {
            case lsOff: lit_ = false; break;
            case lsOn: lit_ = true; break;
            case lsBlink:
                blink_timer_ = new QTimer(this);
                connect(blink_timer_, &QTimer::timeout, this, [this] {
                    lit_ = !lit_;
                    Changed();
                });
                StartBlinking();
                break;
            default: break;  // an unknown status keeps the lamp as it is
        }
    }
    Changed();
}

void TRoundLed::StartBlinking() {
    // A rate of 0 would make a timer that fires at every turn of the event loop.
    if (blink_rate_ == 0)
        blink_timer_->stop();
    else
        blink_timer_->start(blink_rate_);
}

QColor TRoundLed::LampColor() const { return lit_ ? LedOnColorValue(on_color_) : LedOffColorValue(off_color_); }

void TRoundLed::Changed() {
    picbitmap_ = LedPicture(media::ToQColor(media::clBtnFace), LampColor());
    update();
}

void TRoundLed::paintEvent(QPaintEvent*) {
    const QWidget* parent = parentWidget();
    const QColor background = parent ? parent->palette().color(parent->backgroundRole()) : media::ToQColor(media::clBtnFace);
    QPainter painter(this);
    painter.drawImage(0, 0, LedPicture(background, LampColor()));
}

void TRoundLed::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && OnClick) OnClick();
    QWidget::mouseReleaseEvent(event);
}

}  // namespace ui
