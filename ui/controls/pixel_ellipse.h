#pragma once
// A filled ellipse with a one-pixel outline, set pixel by pixel so that small lamps (5 x 5 on a
// thumbnail) look the same on every platform and can be checked pixel for pixel.

#include <QColor>
#include <QPainter>

#include "media/rect.h"

namespace ui {

// Whether pixel (x, y) lies inside the ellipse inscribed in Box (Right and Bottom outside):
// the pixel's centre is within the ellipse.
bool InsideEllipse(const media::TRect& box, int x, int y);

// Pixels inside whose four neighbours are all inside take Brush; the other inside pixels Pen.
void DrawPixelEllipse(QPainter& painter, const media::TRect& box, const QColor& pen, const QColor& brush);

}  // namespace ui
