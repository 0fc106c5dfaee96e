#include "media/qt/dib_graphic_control.h"

#include <QPainter>

#include "media/qt/qt_convert.h"

namespace media {

void DrawTo(QPainter& painter, TMMDIBCanvas& canvas, const QRect& dest, int sx, int sy) {
  canvas.EnsureDIB();
  painter.drawImage(dest.topLeft(), ImageOf(canvas.DIB()), QRect(sx, sy, dest.width(), dest.height()));
}

TMMDIBGraphicControl::TMMDIBGraphicControl(QWidget* parent) : TMMGraphicControl(parent) {}

void TMMDIBGraphicControl::SetBitsPerPixel(int bits) {
  canvas_.SetBitsPerPixel(bits);
  update();
}

void TMMDIBGraphicControl::SetBackgroundPicture(const QImage& picture) {
  canvas_.SetBackGroundBitmap(BitmapFromImage(picture));
  update();
}

void TMMDIBGraphicControl::DrawBackground() {
  if (canvas_.HasBackground()) {
    canvas_.DrawBackground();
    return;
  }
  canvas_.SetColor(Color());
  canvas_.Clear();
}

void TMMDIBGraphicControl::resizeEvent(QResizeEvent* event) {
  TMMGraphicControl::resizeEvent(event);
  const QSize s = CanvasSize();
  canvas_.SetSize(s.width(), s.height());
}

}  // namespace media
