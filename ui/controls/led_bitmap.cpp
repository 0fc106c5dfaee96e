#include "ui/controls/led_bitmap.h"

#include <QPainter>

#include "media/qt/qt_convert.h"
#include "ui/controls/pixel_ellipse.h"

namespace ui {

namespace {

QImage DrawGenericLed() {
    QImage image(kLedFullRect.Width(), kLedFullRect.Height(), QImage::Format_RGB32);
    image.fill(media::ToQColor(media::clOlive));
    QPainter painter(&image);
    // A silver bezel, a dark socket and the lamp itself in the middle.
    DrawPixelEllipse(painter, {1, 1, 14, 14}, media::ToQColor(media::clGray), media::ToQColor(media::clSilver));
    DrawPixelEllipse(painter, {4, 4, 11, 11}, media::ToQColor(media::clGray), media::ToQColor(media::clGray));
    const QColor lamp = media::ToQColor(media::clMaroon);
    DrawPixelEllipse(painter, kLedInnerRect, lamp, lamp);
    painter.fillRect(4, 3, 2, 1, media::ToQColor(media::clWhite));  // a glint on the bezel
    return image;
}

}  // namespace

const QImage& GenericLed() {
    static const QImage led = DrawGenericLed();
    return led;
}

void BrushCopy(QImage& target, const QImage& source, const media::TRect& rect, const QColor& replaced,
               const QColor& brush) {
    const QRgb from = replaced.rgb(), to = brush.rgb();
    for (int y = rect.Top; y < rect.Bottom; ++y) {
        for (int x = rect.Left; x < rect.Right; ++x) {
            const QRgb pixel = source.pixel(x, y);
            target.setPixel(x, y, pixel == from ? to : pixel);
        }
    }
}

QImage LedPicture(const QColor& background, const QColor& lamp) {
    const QImage& led = GenericLed();
    QImage picture(led.size(), QImage::Format_RGB32);
    BrushCopy(picture, led, kLedFullRect, media::ToQColor(media::clOlive), background);
    BrushCopy(picture, led, kLedInnerRect, media::ToQColor(media::clMaroon), lamp);
    return picture;
}

}  // namespace ui
