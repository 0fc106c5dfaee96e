#include "media/qt/bevel_painter.h"

#include "media/qt/qt_convert.h"

namespace media {

namespace {

// One one-pixel frame: TopLeft on the top row and the left column, BottomRight on the right
// column and the bottom row, which own the top-right and the bottom-left corner respectively.
void PaintFrame(QPainter& p, const TRect& r, const QColor& top_left, const QColor& bottom_right) {
  if (r.Empty()) return;
  p.fillRect(QRect(r.Left, r.Top, r.Width() - 1, 1), top_left);
  p.fillRect(QRect(r.Left, r.Top, 1, r.Height()), top_left);
  p.fillRect(QRect(r.Right - 1, r.Top, 1, r.Height()), bottom_right);
  p.fillRect(QRect(r.Left + 1, r.Bottom - 1, r.Width() - 1, 1), bottom_right);
}

}  // namespace

QRect PaintBevel(QPainter& painter, const TMMBevel& bevel, const QRect& r, bool draw_border) {
  const BevelLayout layout = bevel.Layout(ToTRect(r), draw_border);
  for (const BevelRing& ring : layout.Rings) {
    const QColor top_left = ToQColor(ring.TopLeft), bottom_right = ToQColor(ring.BottomRight);
    for (int i = 0; i < ring.Width; ++i) PaintFrame(painter, ring.Outer.Shrunk(i), top_left, bottom_right);
  }
  return ToQRect(layout.Inner);
}

}  // namespace media
