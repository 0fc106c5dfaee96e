#include "media/dib_canvas.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "media/bitmap_to_dib.h"

namespace media {

namespace {

PackedDIB NewCanvasDIB(int bits, int width, int height) {
  PackedDIB dib = PackedDIB::Create(bits, kTopDown, width, height, true);
  if (bits == 8)
    for (int i = 0; i < 256; ++i) dib.SetColor(i, CanvasPalette()[std::size_t(i)]);
  return dib;
}

// The background bitmap as rows of exactly Width × Height pixels: stretched (nearest pixel), or
// at its own size from the top left with black around it.
BitmapRows BackgroundRows(const Bitmap& bitmap, int width, int height, bool stretch,
                          std::vector<std::uint8_t>& scratch) {
  scratch.assign(std::size_t(width) * 3, 0);
  auto row = [&bitmap, width, height, stretch, &scratch](int y) -> const std::uint8_t* {
    std::fill(scratch.begin(), scratch.end(), 0);
    const int sy = stretch ? int(std::int64_t{y} * bitmap.Height() / height) : y;
    if (sy >= bitmap.Height()) return scratch.data();
    const std::uint8_t* in = bitmap.Row(sy);
    for (int x = 0; x < width; ++x) {
      const int sx = stretch ? int(std::int64_t{x} * bitmap.Width() / width) : x;
      if (sx >= bitmap.Width()) break;
      std::memcpy(&scratch[std::size_t(x) * 3], in + std::size_t(sx) * 3, 3);
    }
    return scratch.data();
  };
  return {width, height, 24, row};
}

}  // namespace

TMMDIBCanvas::TMMDIBCanvas() : dib_(NewCanvasDIB(8, 1, 1)) {}

void TMMDIBCanvas::SetSize(int width, int height) {
  width = std::max(1, width);
  height = std::max(1, height);
  if (width == width_ && height == height_) return;
  width_ = width;
  height_ = height;
  recreate_pending_ = true;
  EnsureDIB();
}

void TMMDIBCanvas::SetBitsPerPixel(int bits) {
  if (bits != 8 && bits != 24) throw EMMDIBError("Bitlength not supported yet");
  if (bits == bits_per_pixel_) return;
  RequireIdle();
  bits_per_pixel_ = bits;
  RecreateDIB();
}

void TMMDIBCanvas::SetBackGroundBitmap(const Bitmap& bitmap) {
  RequireIdle();
  background_bitmap_ = bitmap;
  RecreateDIB();
}

void TMMDIBCanvas::SetStretchBackGround(bool stretch) {
  if (stretch == stretch_background_) return;
  if (!background_bitmap_.Empty()) RequireIdle();
  stretch_background_ = stretch;
  if (!background_bitmap_.Empty()) RecreateDIB();
}

void TMMDIBCanvas::RecreateDIB() {
  RequireIdle();
  background_.reset();
  if (!background_bitmap_.Empty()) {
    std::vector<std::uint8_t> scratch;
    const std::span<const RGBQuad> palette = CanvasPalette();
    background_ = BitmapToDIB(BackgroundRows(background_bitmap_, width_, height_, stretch_background_, scratch),
                              palette, bits_per_pixel_, kTopDown);
  }
  dib_ = background_ ? *background_ : NewCanvasDIB(bits_per_pixel_, width_, height_);
  recreate_pending_ = false;
}

void TMMDIBCanvas::EnsureDIB() {
  if (recreate_pending_ && !Drawing()) RecreateDIB();
}

void TMMDIBCanvas::BeginDraw() {
  if (draw_depth_ == 0) EnsureDIB();
  ++draw_depth_;
}

void TMMDIBCanvas::EndDraw() {
  if (draw_depth_ > 0) --draw_depth_;
}

void TMMDIBCanvas::RequireDrawing() const {
  if (!Drawing()) throw EMMDIBError("DIB not initialized for drawing");
}

void TMMDIBCanvas::RequireIdle() const {
  if (Drawing()) throw EMMDIBError("Attempt to create new DIB while initialized for drawing");
}

void TMMDIBCanvas::SetColor(TColor color) {
  RequireDrawing();
  const TColor rgb = ColorToRGB(color);
  if (dib_.BitCount() == 8) {
    pen_ = {NearestPaletteIndex(CanvasPalette(), rgb), 0, 0};
  } else {
    pen_ = {GetBValue(rgb), GetGValue(rgb), GetRValue(rgb)};
  }
}

void TMMDIBCanvas::Put(std::uint8_t* p) const {
  if (dib_.BitCount() == 8) {
    *p = pen_[0];
  } else {
    std::memcpy(p, pen_.data(), 3);
  }
}

void TMMDIBCanvas::Fill(const TRect& r, int step) {
  RequireDrawing();
  const TRect c = r.Intersected({0, 0, dib_.Width(), dib_.Height()});
  if (c.Empty()) return;
  const int bytes = dib_.BitCount() / 8;
  // Keep the pattern anchored at the rectangle's own top left even when it is clipped.
  const int x0 = c.Left + (step - (c.Left - r.Left) % step) % step;
  const int y0 = c.Top + (step - (c.Top - r.Top) % step) % step;
  for (int y = y0; y < c.Bottom; y += step) {
    std::uint8_t* row = dib_.Row(y);
    for (int x = x0; x < c.Right; x += step) Put(row + std::size_t(x) * bytes);
  }
}

void TMMDIBCanvas::Clear() { Fill({0, 0, dib_.Width(), dib_.Height()}, 1); }
void TMMDIBCanvas::FillRect(const TRect& r) { Fill(r, 1); }
void TMMDIBCanvas::FillRectDoted(const TRect& r) { Fill(r, 2); }
void TMMDIBCanvas::SetPixel(int x, int y) { Fill({x, y, x + 1, y + 1}, 1); }

void TMMDIBCanvas::Line(int x1, int y1, int x2, int y2) {
  RequireDrawing();
  const int dx = std::abs(x2 - x1), dy = -std::abs(y2 - y1);
  const int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
  int error = dx + dy;
  for (;;) {
    SetPixel(x1, y1);
    if (x1 == x2 && y1 == y2) return;
    const int e2 = 2 * error;
    if (e2 >= dy) {
      error += dy;
      x1 += sx;
    }
    if (e2 <= dx) {
      error += dx;
      y1 += sy;
    }
  }
}

void TMMDIBCanvas::CopyFrom(const TMMDIBCanvas& source) {
  RequireDrawing();
  const PackedDIB& from = source.dib_;
  if (from.Width() != dib_.Width() || from.Height() != dib_.Height() || from.BitCount() != dib_.BitCount())
    throw EMMDIBError("DIB size or depth differs");
  std::memcpy(dib_.Bits(), from.Bits(), dib_.ImageSize());
}

void TMMDIBCanvas::DrawBackground() {
  RequireDrawing();
  if (!background_) throw EMMDIBError("DIB has no background");
  std::memcpy(dib_.Bits(), background_->Bits(), dib_.ImageSize());
}

TColor TMMDIBCanvas::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= dib_.Width() || y >= dib_.Height()) return clBlack;
  const std::uint8_t* row = dib_.Row(y);
  if (dib_.BitCount() == 8) return FromRGBQuad(CanvasPalette()[row[x]]);
  const std::uint8_t* p = row + std::size_t(x) * 3;
  return RGBColor(p[2], p[1], p[0]);
}

}  // namespace media
