#include "ui/controls/round_led.h"

#include "tests/ui/dialog_test_support.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QMouseEvent>
#include <QTimer>

#include "media/color.h"
#include "media/qt/qt_convert.h"
#include "ui/controls/led_bitmap.h"

namespace {

using ui::TRoundLed;

QColor Pixel(const QImage& image, int x, int y) { return QColor(image.pixel(x, y)); }
QColor Colour(media::TColor c) { return media::ToQColor(c); }

QTimer* BlinkTimer(TRoundLed& led) { return led.findChild<QTimer*>(); }

// The lamp set blinking at Rate; its timer (the test fails when it has none).
QTimer* Blinking(TRoundLed& led, std::uint16_t rate) {
    led.SetBlinkRate(rate);
    led.SetLedStatus(ui::lsBlink);
    QTimer* timer = BlinkTimer(led);
    EXPECT_NE(timer, nullptr);
    return timer;
}

// Processes events until the lamp's lit state differs from Was; false after two seconds.
bool WaitForToggle(const TRoundLed& led, bool was) {
    QDeadlineTimer deadline(2000);
    while (led.Lit() == was && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    return led.Lit() != was;
}

TEST(GenericLed, OliveBackgroundAndMaroonOnlyInsideTheLampArea) {
    const QImage& led = ui::GenericLed();
    ASSERT_EQ(led.size(), QSize(15, 15));
    EXPECT_EQ(Pixel(led, 0, 0), Colour(media::clOlive));
    EXPECT_EQ(Pixel(led, 14, 14), Colour(media::clOlive));
    int maroon = 0;
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 15; ++x)
            if (Pixel(led, x, y) == Colour(media::clMaroon)) {
                ++maroon;
                EXPECT_TRUE(x >= 5 && x < 10 && y >= 5 && y < 10) << x << "," << y;
            }
    EXPECT_GT(maroon, 9);
}

TEST(TRoundLed, DefaultsAndPicbitmapOnTheButtonFace) {
    TRoundLed led;
    EXPECT_EQ(led.size(), QSize(15, 15));
    EXPECT_EQ(led.LedOnColor(), ui::lcRed);
    EXPECT_EQ(led.LedOffColor(), ui::lcMaroon);
    EXPECT_EQ(led.BlinkRate(), 1000);
    EXPECT_EQ(led.LedStatus(), ui::lsOff);
    EXPECT_TRUE(led.AutoSelectColor());
    EXPECT_EQ(Pixel(led.picbitmap(), 0, 0), Colour(media::clBtnFace));
    EXPECT_EQ(Pixel(led.picbitmap(), 7, 7), Colour(media::clMaroon));
    led.SetLedStatus(ui::lsOn);
    EXPECT_EQ(Pixel(led.picbitmap(), 7, 7), Colour(media::clRed));
    EXPECT_EQ(BlinkTimer(led), nullptr);
}

TEST(TRoundLed, ColourPairsFollowEachOtherOnlyWithAutoSelect) {
    struct Case {
        bool autoSelect;
        ui::TLedOnColors on;
        ui::TLedOffColors expectedOff;
        media::TColor offPixel;
    };
    for (const Case& c : {Case{true, ui::lcLime, ui::lcGreen, media::clGreen},
                          Case{false, ui::lcLime, ui::lcMaroon, media::clMaroon},
                          Case{true, ui::lcWhite, ui::lcGray, media::clGray},
                          Case{true, ui::lcSilver, ui::lcBlack, media::clBlack}}) {
        TRoundLed led;
        led.SetAutoSelectColor(c.autoSelect);
        led.SetLedOnColor(c.on);
        EXPECT_EQ(led.LedOffColor(), c.expectedOff) << c.on;
        EXPECT_EQ(Pixel(led.picbitmap(), 7, 7), Colour(c.offPixel)) << c.on;
    }
    TRoundLed led;
    led.SetLedOffColor(ui::lcTeal);
    EXPECT_EQ(led.LedOnColor(), ui::lcAqua);
}

TEST(TRoundLed, PaintsOnItsParentsColourAndStaysFifteenSquare) {
    QWidget parent;
    QPalette palette = parent.palette();
    palette.setColor(QPalette::Window, QColor(10, 120, 200));
    parent.setPalette(palette);
    parent.setAutoFillBackground(true);
    auto* led = new TRoundLed(&parent);
    led->SetLedOnColor(ui::lcYellow);
    led->SetLedStatus(ui::lsOn);
    led->resize(40, 30);
    EXPECT_EQ(led->size(), QSize(15, 15));
    const QImage shot = led->grab().toImage();
    EXPECT_EQ(Pixel(shot, 0, 0), QColor(10, 120, 200));
    EXPECT_EQ(Pixel(shot, 7, 7), Colour(media::clYellow));
}

TEST(TRoundLed, BlinksAtItsRateAndStopsAtOnce) {
    TRoundLed led;
    QTimer* timer = Blinking(led, 250);
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 250);
    const bool before = led.Lit();
    ASSERT_TRUE(WaitForToggle(led, before));
    EXPECT_EQ(Pixel(led.picbitmap(), 7, 7), Colour(led.Lit() ? media::clRed : media::clMaroon));
    led.SetBlinkRate(100);
    EXPECT_EQ(timer->interval(), 100);
    led.SetLedStatus(ui::lsOn);
    EXPECT_EQ(BlinkTimer(led), nullptr);
    EXPECT_TRUE(led.Lit());
}

TEST(TRoundLed, ARateOfZeroHoldsTheLampWithoutATimerRunning) {
    TRoundLed led;
    QTimer* timer = Blinking(led, 0);
    ASSERT_NE(timer, nullptr);
    EXPECT_FALSE(timer->isActive());
    led.SetBlinkRate(300);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 300);
    led.SetBlinkRate(0);
    EXPECT_FALSE(timer->isActive());
}

TEST(TRoundLed, AnUnknownStatusFreesTheTimerAndKeepsTheLitState) {
    TRoundLed led;
    led.SetLedStatus(ui::lsOn);
    led.SetLedStatus(ui::lsBlink);
    led.SetLedStatus(static_cast<ui::TLedStatus>(7));
    EXPECT_EQ(BlinkTimer(led), nullptr);
    EXPECT_TRUE(led.Lit());
}

TEST(TRoundLed, ClickOnLeftRelease) {
    TRoundLed led;
    int clicks = 0;
    led.OnClick = [&] { ++clicks; };
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(7, 7), QPointF(7, 7), button, button, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(7, 7), QPointF(7, 7), button, Qt::NoButton,
                            Qt::NoModifier);
        QCoreApplication::sendEvent(&led, &press);
        QCoreApplication::sendEvent(&led, &release);
    }
    EXPECT_EQ(clicks, 1);
}

}  // namespace
