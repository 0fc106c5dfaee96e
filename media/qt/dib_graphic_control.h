#pragma once
// A graphic control that paints through a DIB canvas of its own, and the copy of a canvas onto a
// QPainter.

#include <QImage>
#include <QRect>

#include "media/dib_canvas.h"
#include "media/qt/graphic_control.h"

class QPainter;

namespace media {

// Copies the canvas's pixels from (Sx, Sy) into Dest; a deferred re-creation happens first.
void DrawTo(QPainter& painter, TMMDIBCanvas& canvas, const QRect& dest, int sx, int sy);

class TMMDIBGraphicControl : public TMMGraphicControl {
  Q_OBJECT

 public:
  explicit TMMDIBGraphicControl(QWidget* parent = nullptr);

  TMMDIBCanvas& DIBCanvas() { return canvas_; }

  int BitsPerPixel() const { return canvas_.BitsPerPixel(); }
  // 8 or 24 (else EMMDIBError "Bitlength not supported yet").
  virtual void SetBitsPerPixel(int bits);

  // The picture the canvas is re-created from; an empty image means none.
  void SetBackgroundPicture(const QImage& picture);

  // In a drawing pass of the canvas: lays in the background picture, or clears with the colour.
  virtual void DrawBackground();

 protected:
  // The size the canvas takes (the whole control here).
  virtual QSize CanvasSize() const { return size(); }
  void resizeEvent(QResizeEvent* event) override;

 private:
  TMMDIBCanvas canvas_;
};

}  // namespace media
