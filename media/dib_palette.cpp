#include "media/dib_palette.h"

namespace media {

const std::array<RGBQuad, 16>& VGAColors() {
  static const std::array<RGBQuad, 16> colors = {
      ToRGBQuad(clBlack), ToRGBQuad(clMaroon), ToRGBQuad(clGreen),  ToRGBQuad(clOlive),
      ToRGBQuad(clNavy),  ToRGBQuad(clPurple), ToRGBQuad(clTeal),   ToRGBQuad(clSilver),
      ToRGBQuad(clGray),  ToRGBQuad(clRed),    ToRGBQuad(clLime),   ToRGBQuad(clYellow),
      ToRGBQuad(clBlue),  ToRGBQuad(clFuchsia), ToRGBQuad(clAqua),  ToRGBQuad(clWhite)};
  return colors;
}

const std::array<RGBQuad, 256>& CanvasPalette() {
  static const std::array<RGBQuad, 256> palette = [] {
    std::array<RGBQuad, 256> p{};
    const std::array<TColor, 10> low = {clBlack, clMaroon, clGreen, clOlive, clNavy, clPurple,
                                        clTeal,  clSilver, RGBColor(192, 220, 192),
                                        RGBColor(166, 202, 240)};
    const std::array<TColor, 10> high = {RGBColor(255, 251, 240), RGBColor(160, 160, 164), clGray,
                                         clRed, clLime, clYellow, clBlue, clFuchsia, clAqua,
                                         clWhite};
    for (std::size_t i = 0; i < low.size(); ++i) p[i] = ToRGBQuad(low[i]);
    for (std::size_t i = 0; i < high.size(); ++i) p[246 + i] = ToRGBQuad(high[i]);
    return p;
  }();
  return palette;
}

std::uint8_t NearestPaletteIndex(std::span<const RGBQuad> palette, TColor rgb) {
  const int r = GetRValue(rgb), g = GetGValue(rgb), b = GetBValue(rgb);
  std::size_t best = 0;
  int best_distance = -1;
  for (std::size_t i = 0; i < palette.size() && i < 256; ++i) {
    const int dr = palette[i].Red - r, dg = palette[i].Green - g, db = palette[i].Blue - b;
    const int distance = dr * dr + dg * dg + db * db;
    if (best_distance < 0 || distance < best_distance) {
      best = i;
      best_distance = distance;
      if (distance == 0) break;
    }
  }
  return static_cast<std::uint8_t>(best);
}

}  // namespace media
