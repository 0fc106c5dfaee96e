#pragma once
// The lamp picture of the round lamps, "GENERICLED": 15 x 15, olive pixels are the background
// and maroon pixels the coloured lamp, all of them inside the lamp's inner rectangle.

#include <QColor>
#include <QImage>

#include "media/rect.h"

namespace ui {

inline constexpr media::TRect kLedFullRect{0, 0, 15, 15};
inline constexpr media::TRect kLedInnerRect{5, 5, 10, 10};

// The one shared picture, drawn on first use.
const QImage& GenericLed();

// Copies Rect of Source onto the same place of Target, where the pixels of colour Replaced take
// Brush instead (the other pixels are copied as they are).
void BrushCopy(QImage& target, const QImage& source, const media::TRect& rect, const QColor& replaced,
               const QColor& brush);

// The lamp on Background in colour Lamp: the full picture with olive replaced, then the inner
// rectangle with maroon replaced.
QImage LedPicture(const QColor& background, const QColor& lamp);

}  // namespace ui
