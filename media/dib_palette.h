#pragma once
// The colour tables of packed DIBs: the 16 VGA colours a new DIB's table starts with, and the
// 256-entry palette of 8-bit canvases (the 20 static colours of the default palette at 0..9 and
// 246..255, black between).

#include <array>
#include <cstdint>
#include <span>

#include "media/color.h"

namespace media {

struct RGBQuad {
  std::uint8_t Blue = 0;
  std::uint8_t Green = 0;
  std::uint8_t Red = 0;
  std::uint8_t Reserved = 0;
  friend constexpr bool operator==(const RGBQuad&, const RGBQuad&) = default;
};

constexpr RGBQuad ToRGBQuad(TColor rgb) { return {GetBValue(rgb), GetGValue(rgb), GetRValue(rgb), 0}; }
constexpr TColor FromRGBQuad(RGBQuad q) { return RGBColor(q.Red, q.Green, q.Blue); }

const std::array<RGBQuad, 16>& VGAColors();
const std::array<RGBQuad, 256>& CanvasPalette();

// The index of the entry nearest to Rgb ($00BBGGRR) by squared distance; the lowest index on a tie.
std::uint8_t NearestPaletteIndex(std::span<const RGBQuad> palette, TColor rgb);

}  // namespace media
