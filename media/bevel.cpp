#include "media/bevel.h"

namespace media {

void TMMBevel::Assign(const TMMBevel& source) {
  BeginUpdate();
  SetBevelInner(source.bevel_inner_);
  SetBevelOuter(source.bevel_outer_);
  SetBevelInnerWidth(source.bevel_inner_width_);
  SetBevelOuterWidth(source.bevel_outer_width_);
  SetBorderStyle(source.border_style_);
  SetBorderWidth(source.border_width_);
  SetBorderSpace(source.border_space_);
  SetBorderColor(source.border_color_);
  SetBorderSpaceColor(source.border_space_color_);
  SetInnerLightColor(source.inner_light_color_);
  SetInnerShadowColor(source.inner_shadow_color_);
  SetOuterLightColor(source.outer_light_color_);
  SetOuterShadowColor(source.outer_shadow_color_);
  EndUpdate();
}

int TMMBevel::Extent() const {
  int extent = border_width_ + border_space_;
  if (bevel_outer_ != bvNone) extent += bevel_outer_width_;
  if (bevel_inner_ != bvNone) extent += bevel_inner_width_;
  if (border_style_ != bsNone) extent += 1;
  return extent;
}

BevelLayout TMMBevel::Layout(const TRect& r, bool draw_border) const {
  BevelLayout layout{{}, r};
  auto ring = [&layout](int width, TColor top_left, TColor bottom_right) {
    if (width <= 0) return;
    layout.Rings.push_back({layout.Inner, width, top_left, bottom_right});
    layout.Inner = layout.Inner.Shrunk(width);
  };
  auto bevel = [&ring](TBevelCut cut, int width, TColor light, TColor shadow) {
    if (cut == bvLowered) ring(width, shadow, light);
    if (cut == bvRaised) ring(width, light, shadow);
  };
  if (border_style_ != bsNone) ring(1, clWindowFrame, clWindowFrame);
  bevel(bevel_outer_, bevel_outer_width_, outer_light_color_, outer_shadow_color_);
  if (draw_border) {
    ring(border_width_, border_color_, border_color_);
  } else {
    layout.Inner = layout.Inner.Shrunk(border_width_);
  }
  bevel(bevel_inner_, bevel_inner_width_, inner_light_color_, inner_shadow_color_);
  ring(border_space_, border_space_color_, border_space_color_);
  return layout;
}

}  // namespace media
