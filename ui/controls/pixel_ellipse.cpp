#include "ui/controls/pixel_ellipse.h"

#include <cstdint>

namespace ui {

bool InsideEllipse(const media::TRect& box, int x, int y) {
    const std::int64_t w = box.Width(), h = box.Height();
    if (w <= 0 || h <= 0 || x < box.Left || x >= box.Right || y < box.Top || y >= box.Bottom) return false;
    // Twice the offsets of the pixel's centre from the box's centre, so all stays integer.
    const std::int64_t dx = 2 * (x - box.Left) + 1 - w, dy = 2 * (y - box.Top) + 1 - h;
    return dx * dx * h * h + dy * dy * w * w <= w * w * h * h;
}

void DrawPixelEllipse(QPainter& painter, const media::TRect& box, const QColor& pen, const QColor& brush) {
    for (int y = box.Top; y < box.Bottom; ++y) {
        for (int x = box.Left; x < box.Right; ++x) {
            if (!InsideEllipse(box, x, y)) continue;
            const bool interior = InsideEllipse(box, x - 1, y) && InsideEllipse(box, x + 1, y) &&
                                  InsideEllipse(box, x, y - 1) && InsideEllipse(box, x, y + 1);
            painter.fillRect(x, y, 1, 1, interior ? brush : pen);
        }
    }
}

}  // namespace ui
