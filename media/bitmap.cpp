#include "media/bitmap.h"

#include "media/packed_dib.h"

namespace media {

Bitmap::Bitmap(int width, int height)
    : width_(width < 0 ? 0 : width),
      height_(height < 0 ? 0 : height),
      row_size_(static_cast<int>(DIBRowSize(width_, 24))),
      pixels_(std::size_t(row_size_) * height_, 0) {}

TColor Bitmap::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return clBlack;
  const std::uint8_t* p = Row(y) + 3 * x;
  return RGBColor(p[2], p[1], p[0]);
}

void Bitmap::SetPixel(int x, int y, TColor color) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  const TColor rgb = ColorToRGB(color);
  std::uint8_t* p = Row(y) + 3 * x;
  p[0] = GetBValue(rgb);
  p[1] = GetGValue(rgb);
  p[2] = GetRValue(rgb);
}

BitmapRows Bitmap::Rows() const {
  return {width_, height_, 24, [this](int y) { return Row(y); }};
}

}  // namespace media
