#pragma once
// A bar gauge of rectangular "LED" spots: the spots up to the progress are lit in three colour
// zones (normal, warning, alarm), the others show their unlit colours. It paints into its DIB
// from a second DIB that holds the image of all spots unlit.

#include <array>
#include <functional>

#include "media/led_spots.h"
#include "media/qt/dib_graphic_control.h"

namespace media {

class TMMLEDGauge : public TMMDIBGraphicControl {
  Q_OBJECT

 public:
  // Draws the whole bar in place of the spots: DIB in a drawing pass, Rect = (0, 0, bar width,
  // bar height), NSpots = the lit spots.
  using TMMLEDDrawBar =
      std::function<void(TMMLEDGauge& sender, TMMDIBCanvas& dib, const TRect& rect, int n_spots)>;

  explicit TMMLEDGauge(QWidget* parent = nullptr);

  TMMGaugeKind Kind() const { return kind_; }
  // Turning the gauge also turns a control that lies the other way (width and height swap).
  void SetKind(TMMGaugeKind kind);
  TMMDirection Direction() const { return direction_; }
  void SetDirection(TMMDirection direction);

  TColor Bar1Color() const { return bar_colors_[0]; }
  TColor Bar2Color() const { return bar_colors_[1]; }
  TColor Bar3Color() const { return bar_colors_[2]; }
  TColor Inactive1Color() const { return inactive_colors_[0]; }
  TColor Inactive2Color() const { return inactive_colors_[1]; }
  TColor Inactive3Color() const { return inactive_colors_[2]; }
  void SetBar1Color(TColor c) { SetZoneColor(bar_colors_[0], c); }
  void SetBar2Color(TColor c) { SetZoneColor(bar_colors_[1], c); }
  void SetBar3Color(TColor c) { SetZoneColor(bar_colors_[2], c); }
  void SetInactive1Color(TColor c) { SetZoneColor(inactive_colors_[0], c); }
  void SetInactive2Color(TColor c) { SetZoneColor(inactive_colors_[1], c); }
  void SetInactive3Color(TColor c) { SetZoneColor(inactive_colors_[2], c); }

  bool InactiveDoted() const { return inactive_doted_; }
  void SetInactiveDoted(bool doted);
  bool ActiveDoted() const { return active_doted_; }
  void SetActiveDoted(bool doted);

  // Percentages where zones 2 and 3 begin, each kept within 1..100.
  int Point1() const { return points_[0]; }
  int Point2() const { return points_[1]; }
  void SetPoint1(int value) { SetPoint(0, value); }
  void SetPoint2(int value) { SetPoint(1, value); }
  // Index 0 is Point1, 1 is Point2.
  void SetPoint(int index, int value);

  // Pixels between spots, kept within 0..10.
  int SpotSpace() const { return spot_space_; }
  void SetSpotSpace(int space);
  // Spot length along the bar, kept within 1..(bar length div 3).
  int SpotWidth() const { return spot_width_; }
  void SetSpotWidth(int width);

  // 0..100; a change redraws the bar with the next frame.
  int Progress() const { return progress_; }
  void SetProgress(int value);

  int Tag2() const { return tag2_; }
  void SetTag2(int tag) { tag2_ = tag; }

  const TMMLEDDrawBar& OnDrawBar() const { return on_draw_bar_; }
  void SetOnDrawBar(TMMLEDDrawBar handler);

  void SetBitsPerPixel(int bits) override;

  // The bar inside the bevel and where its spots lie, for the present size and settings.
  QRect BarRect() const;
  LEDSpotLayout Layout() const;
  int SpotCount() const { return Layout().SpotCount; }
  int FirstSpot() const { return Layout().FirstSpot; }
  int Zone1End() const { return Layout().Zone1End; }
  int Zone2End() const { return Layout().Zone2End; }
  // The lit spots: Progress % of the spots, truncated.
  int ActiveSpots() const { return LitSpots(Layout()); }

 protected:
  void Changed() override;
  void ColorChanged() override;
  void Paint(QPainter& painter) override;
  QSize CanvasSize() const override;

 private:
  void SetZoneColor(TColor& field, TColor value);
  void SetFlag(bool& field, bool value);
  void UpdateMinimumSize();
  int LitSpots(const LEDSpotLayout& layout) const;
  // Sizes both DIBs to the bar and redraws the unlit image when the layout or anything else it
  // shows (colours, dots, depth) changed.
  void PrepareBackground(const LEDSpotLayout& layout);
  void RenderBar(const LEDSpotLayout& layout);

  TMMDIBCanvas background_;
  bool background_valid_ = false;
  LEDSpotLayout background_layout_;

  TMMGaugeKind kind_ = gkHorizontal;
  TMMDirection direction_ = dirNormal;
  std::array<TColor, 3> bar_colors_{0xFFFF00, 0xFFFF00, clRed};
  std::array<TColor, 3> inactive_colors_{0x808000, 0x808000, 0x000080};
  bool inactive_doted_ = false;
  bool active_doted_ = false;
  std::array<int, 2> points_{50, 85};
  int spot_space_ = 1;
  int spot_width_ = 1;
  int progress_ = 0;
  int tag2_ = 0;
  TMMLEDDrawBar on_draw_bar_;
};

}  // namespace media
