#include "media/qt/led_gauge.h"

#include <QPainter>
#include <algorithm>

#include "media/int_math.h"

namespace media {

TMMLEDGauge::TMMLEDGauge(QWidget* parent) : TMMDIBGraphicControl(parent) {
  SetColor(clBlack);
  UpdateMinimumSize();
  resize(200, 17);
}

void TMMLEDGauge::SetKind(TMMGaugeKind kind) {
  if (kind == kind_) return;
  kind_ = kind;
  if ((kind == gkHorizontal && height() > width()) || (kind == gkVertical && width() > height()))
    resize(height(), width());
  update();
}

void TMMLEDGauge::SetDirection(TMMDirection direction) {
  if (direction == direction_) return;
  direction_ = direction;  // a new layout: the unlit image follows at the next paint
  update();
}

void TMMLEDGauge::SetZoneColor(TColor& field, TColor value) {
  if (field == value) return;
  field = value;
  background_valid_ = false;
  update();
}

void TMMLEDGauge::SetFlag(bool& field, bool value) {
  if (field == value) return;
  field = value;
  background_valid_ = false;
  update();
}

void TMMLEDGauge::SetInactiveDoted(bool doted) { SetFlag(inactive_doted_, doted); }
void TMMLEDGauge::SetActiveDoted(bool doted) { SetFlag(active_doted_, doted); }

void TMMLEDGauge::SetPoint(int index, int value) {
  if (index < 0 || index > 1) return;
  value = MinMax(value, 1, 100);
  if (value == points_[std::size_t(index)]) return;
  points_[std::size_t(index)] = value;
  update();
}

void TMMLEDGauge::SetSpotSpace(int space) {
  space = MinMax(space, 0, 10);
  if (space == spot_space_) return;
  spot_space_ = space;
  update();
}

void TMMLEDGauge::SetSpotWidth(int width) {
  width = std::max(1, std::min(width, Layout().BarLength() / 3));
  if (width == spot_width_) return;
  spot_width_ = width;
  update();
}

void TMMLEDGauge::SetProgress(int value) {
  if (value == progress_) return;
  const LEDSpotLayout layout = Layout();
  const int litBefore = LitSpots(layout);
  progress_ = MinMax(value, 0, 100);
  // The bar shows the lit spots only: a number that lights as many as before paints nothing
  // (a drawing handler of its own may show more).
  // Otherwise with the next frame, so a burst of changes paints the bar once.
  if (on_draw_bar_ || LitSpots(layout) != litBefore) update(BarRect());
}

void TMMLEDGauge::SetOnDrawBar(TMMLEDDrawBar handler) {
  on_draw_bar_ = std::move(handler);
  background_valid_ = false;
  update();
}

void TMMLEDGauge::SetBitsPerPixel(int bits) {
  if (bits == BitsPerPixel()) return;
  background_.SetBitsPerPixel(bits);  // raises for a depth the canvases do not support
  TMMDIBGraphicControl::SetBitsPerPixel(bits);
  background_valid_ = false;
}

QRect TMMLEDGauge::BarRect() const { return InnerRect(); }

LEDSpotLayout TMMLEDGauge::Layout() const {
  const QRect bar = BarRect();
  return LEDSpotLayout::Compute(kind_, direction_, std::max(1, bar.width()), std::max(1, bar.height()),
                                spot_width_, spot_space_, points_[0], points_[1]);
}

int TMMLEDGauge::LitSpots(const LEDSpotLayout& layout) const {
  return std::min(MulDiv(progress_, layout.SpotCount, 100), layout.SpotCount);
}

QSize TMMLEDGauge::CanvasSize() const {
  const LEDSpotLayout l = Layout();
  return {l.BarWidth, l.BarHeight};
}

void TMMLEDGauge::Changed() {
  UpdateMinimumSize();
  TMMDIBGraphicControl::Changed();
}

void TMMLEDGauge::ColorChanged() {
  background_valid_ = false;
  TMMDIBGraphicControl::ColorChanged();
}

void TMMLEDGauge::UpdateMinimumSize() {
  const int e = Bevel().Extent();
  setMinimumSize(2 * e + 2, 2 * e);
}

void TMMLEDGauge::PrepareBackground(const LEDSpotLayout& layout) {
  DIBCanvas().SetSize(layout.BarWidth, layout.BarHeight);
  if (on_draw_bar_) return;  // the handler draws everything
  if (background_valid_ && layout == background_layout_) return;
  background_.SetSize(layout.BarWidth, layout.BarHeight);
  {
    const DIBDrawPass pass(background_);
    background_.SetColor(Color());
    background_.Clear();
    DrawLEDSpots(background_, layout, layout.SpotCount, inactive_colors_, inactive_doted_);
  }
  background_layout_ = layout;
  background_valid_ = true;
}

void TMMLEDGauge::RenderBar(const LEDSpotLayout& layout) {
  TMMDIBCanvas& dib = DIBCanvas();
  const DIBDrawPass pass(dib);
  const int lit = LitSpots(layout);
  if (on_draw_bar_) {
    on_draw_bar_(*this, dib, {0, 0, layout.BarWidth, layout.BarHeight}, lit);
  } else {
    dib.CopyFrom(background_);
    DrawLEDSpots(dib, layout, lit, bar_colors_, active_doted_);
  }
}

void TMMLEDGauge::Paint(QPainter& painter) {
  TMMDIBGraphicControl::Paint(painter);
  const LEDSpotLayout layout = Layout();
  PrepareBackground(layout);
  RenderBar(layout);
  DrawTo(painter, DIBCanvas(), BarRect(), 0, 0);
}

}  // namespace media
