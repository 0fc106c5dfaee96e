#pragma once
// A 24-bit picture in memory (rows top-down, pixels B, G, R, rows padded to 4 bytes), and the
// plain description of any bitmap that the DIB routines read: the engine's bitmaps and Qt images
// are read through a BitmapRows without being copied first.

#include <cstdint>
#include <functional>
#include <vector>

#include "media/color.h"

namespace media {

struct BitmapRows {
  int Width = 0;
  int Height = 0;
  int BitsPerPixel = 24;  // 24: B, G, R per pixel; 32: B, G, R and one unused byte
  // Row Y, 0 being the top row; nullptr when it cannot be read.
  std::function<const std::uint8_t*(int y)> Row;
};

class Bitmap {
 public:
  Bitmap() = default;
  // Black, with negative sizes taken as 0.
  Bitmap(int width, int height);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }
  int RowSize() const { return row_size_; }

  std::uint8_t* Row(int y) { return pixels_.data() + std::size_t(y) * row_size_; }
  const std::uint8_t* Row(int y) const { return pixels_.data() + std::size_t(y) * row_size_; }

  // $00BBGGRR; coordinates outside the picture read black and are not written.
  TColor Pixel(int x, int y) const;
  void SetPixel(int x, int y, TColor color);

  BitmapRows Rows() const;

 private:
  int width_ = 0;
  int height_ = 0;
  int row_size_ = 0;
  std::vector<std::uint8_t> pixels_;
};

}  // namespace media
