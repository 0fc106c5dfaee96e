#pragma once
// TRoundLed: a 15 x 15 round lamp drawn from the shared lamp picture, lit in its on colour or
// dark in its off colour, steady or blinking.

#include <QImage>
#include <QWidget>

#include <cstdint>
#include <functional>

class QTimer;

namespace ui {

// On and off colours come in pairs of the same index.
enum TLedOnColors { lcSilver, lcRed, lcLime, lcYellow, lcBlue, lcFuchsia, lcAqua, lcWhite };
enum TLedOffColors { lcBlack, lcMaroon, lcGreen, lcOlive, lcNavy, lcPurple, lcTeal, lcGray };
enum TLedStatus { lsOff, lsOn, lsBlink };

QColor LedOnColorValue(TLedOnColors color);
QColor LedOffColorValue(TLedOffColors color);

class TRoundLed : public QWidget {
    Q_OBJECT
public:
    explicit TRoundLed(QWidget* owner = nullptr);

    bool AutoSelectColor() const { return auto_select_; }
    void SetAutoSelectColor(bool on) { auto_select_ = on; }
    TLedOnColors LedOnColor() const { return on_color_; }
    void SetLedOnColor(TLedOnColors color);
    TLedOffColors LedOffColor() const { return off_color_; }
    void SetLedOffColor(TLedOffColors color);
    // Milliseconds between two blink toggles; 0 holds a blinking lamp as it is.
    std::uint16_t BlinkRate() const { return blink_rate_; }
    void SetBlinkRate(std::uint16_t rate);
    TLedStatus LedStatus() const { return status_; }
    void SetLedStatus(TLedStatus status);

    bool Lit() const { return lit_; }
    // The lamp as it looks now, drawn on the button face colour.
    const QImage& picbitmap() const { return picbitmap_; }

    std::function<void()> OnClick;

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QColor LampColor() const;
    // Redraws picbitmap and the control.
    void Changed();
    void StartBlinking();

    QTimer* blink_timer_ = nullptr;  // only while the status is lsBlink
    bool lit_ = false;
    bool auto_select_ = true;
    TLedOnColors on_color_ = lcRed;
    TLedOffColors off_color_ = lcMaroon;
    std::uint16_t blink_rate_ = 1000;
    TLedStatus status_ = lsOff;
    QImage picbitmap_;
};

}  // namespace ui
