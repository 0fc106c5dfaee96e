#pragma once
// A control that paints a bevel around its inside and fills the inside with its colour.

#include <QWidget>

#include "media/bevel.h"
#include "media/color.h"

namespace media {

class TMMGraphicControl : public QWidget {
  Q_OBJECT

 public:
  explicit TMMGraphicControl(QWidget* parent = nullptr);

  TMMBevel& Bevel() { return bevel_; }
  const TMMBevel& Bevel() const { return bevel_; }
  void SetBevel(const TMMBevel& bevel) { bevel_.Assign(bevel); }

  TColor Color() const { return color_; }
  void SetColor(TColor color);

  // True leaves the inside to the descendant's painting.
  bool InsideUnfilled() const { return inside_unfilled_; }
  void SetInsideUnfilled(bool unfilled);

  // The client rectangle less the bevel's extent on every side.
  QRect InnerRect() const;

 signals:
  // The left button was pressed and released over the control.
  void clicked();

 protected:
  // A property that changes the look or the layout changed (the bevel, for one); repaints.
  virtual void Changed();
  // The colour changed; repaints.
  virtual void ColorChanged();
  // The bevel, then the inside in the colour unless it is left unfilled.
  virtual void Paint(QPainter& painter);

  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  TMMBevel bevel_;
  TColor color_ = clBtnFace;
  bool inside_unfilled_ = false;
  bool pressed_ = false;
};

}  // namespace media
