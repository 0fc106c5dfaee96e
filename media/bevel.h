#pragma once
// The 3-D bevel of the media controls: an optional frame, an outer bevel, a border, an inner bevel
// and a border space, from the outside in. It computes its rings; the Qt side paints them.

#include <vector>

#include "media/color.h"
#include "media/mm_object.h"
#include "media/rect.h"

namespace media {

enum TBevelCut { bvNone, bvLowered, bvRaised };
enum TBorderStyle { bsNone, bsSingle };

// One ring of the bevel: Width nested one-pixel frames, the first along Outer's edges. In each
// frame TopLeft colours the top row and the left column, BottomRight the right column and the
// bottom row (the top-right corner belongs to BottomRight, the bottom-left one to TopLeft).
struct BevelRing {
  TRect Outer;
  int Width = 0;
  TColor TopLeft = clBlack;
  TColor BottomRight = clBlack;
};

struct BevelLayout {
  std::vector<BevelRing> Rings;  // from the outside in
  TRect Inner;                   // what remains inside the last ring
};

// Widths and the space never go below 0.
class TMMBevel : public TMMObject {
 public:
  TBevelCut BevelInner() const { return bevel_inner_; }
  TBevelCut BevelOuter() const { return bevel_outer_; }
  int BevelInnerWidth() const { return bevel_inner_width_; }
  int BevelOuterWidth() const { return bevel_outer_width_; }
  TBorderStyle BorderStyle() const { return border_style_; }
  int BorderWidth() const { return border_width_; }
  int BorderSpace() const { return border_space_; }
  TColor BorderColor() const { return border_color_; }
  TColor BorderSpaceColor() const { return border_space_color_; }
  TColor InnerLightColor() const { return inner_light_color_; }
  TColor InnerShadowColor() const { return inner_shadow_color_; }
  TColor OuterLightColor() const { return outer_light_color_; }
  TColor OuterShadowColor() const { return outer_shadow_color_; }

  void SetBevelInner(TBevelCut v) { Set(bevel_inner_, v); }
  void SetBevelOuter(TBevelCut v) { Set(bevel_outer_, v); }
  void SetBevelInnerWidth(int v) { Set(bevel_inner_width_, v < 0 ? 0 : v); }
  void SetBevelOuterWidth(int v) { Set(bevel_outer_width_, v < 0 ? 0 : v); }
  void SetBorderStyle(TBorderStyle v) { Set(border_style_, v); }
  void SetBorderWidth(int v) { Set(border_width_, v < 0 ? 0 : v); }
  void SetBorderSpace(int v) { Set(border_space_, v < 0 ? 0 : v); }
  void SetBorderColor(TColor v) { Set(border_color_, v); }
  void SetBorderSpaceColor(TColor v) { Set(border_space_color_, v); }
  void SetInnerLightColor(TColor v) { Set(inner_light_color_, v); }
  void SetInnerShadowColor(TColor v) { Set(inner_shadow_color_, v); }
  void SetOuterLightColor(TColor v) { Set(outer_light_color_, v); }
  void SetOuterShadowColor(TColor v) { Set(outer_shadow_color_, v); }

  // Copies all thirteen properties as one change.
  void Assign(const TMMBevel& source);

  // The width the bevel takes on each side.
  int Extent() const;

  // The rings painted inside R; with DrawBorder false the border only takes its room.
  BevelLayout Layout(const TRect& r, bool draw_border) const;

 private:
  template <typename T>
  void Set(T& field, T value) {
    if (field == value) return;
    field = value;
    Changed();
  }

  TBevelCut bevel_inner_ = bvNone;
  TBevelCut bevel_outer_ = bvLowered;
  int bevel_inner_width_ = 1;
  int bevel_outer_width_ = 1;
  TBorderStyle border_style_ = bsNone;
  int border_width_ = 0;
  int border_space_ = 0;
  TColor border_color_ = clBtnFace;
  TColor border_space_color_ = clBlack;
  TColor inner_light_color_ = clBtnHighlight;
  TColor inner_shadow_color_ = clBtnShadow;
  TColor outer_light_color_ = clBtnHighlight;
  TColor outer_shadow_color_ = clBtnShadow;
};

}  // namespace media
