#include "media/qt/graphic_control.h"

#include <QMouseEvent>
#include <QPainter>

#include "media/qt/bevel_painter.h"
#include "media/qt/qt_convert.h"

namespace media {

TMMGraphicControl::TMMGraphicControl(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  bevel_.OnChange = [this](TMMObject&) { Changed(); };
}

void TMMGraphicControl::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  ColorChanged();
}

void TMMGraphicControl::SetInsideUnfilled(bool unfilled) {
  if (unfilled == inside_unfilled_) return;
  inside_unfilled_ = unfilled;
  update();
}

QRect TMMGraphicControl::InnerRect() const {
  const int e = bevel_.Extent();
  return rect().adjusted(e, e, -e, -e);
}

void TMMGraphicControl::Changed() { update(); }

void TMMGraphicControl::ColorChanged() { update(); }

void TMMGraphicControl::Paint(QPainter& painter) {
  const QRect inside = PaintBevel(painter, bevel_, rect(), true);
  if (!inside_unfilled_) painter.fillRect(inside, ToQColor(color_));
}

void TMMGraphicControl::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  Paint(painter);
}

void TMMGraphicControl::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) pressed_ = true;
  QWidget::mousePressEvent(event);
}

void TMMGraphicControl::mouseReleaseEvent(QMouseEvent* event) {
  const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  if (event->button() == Qt::LeftButton) pressed_ = false;
  QWidget::mouseReleaseEvent(event);
  if (click) emit clicked();
}

}  // namespace media
