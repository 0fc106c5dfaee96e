#pragma once
// A canvas over a packed DIB whose pixels the routines below write directly. Rows are kept
// top-down so that the pixels can be shown as they are; 8-bit canvases use CanvasPalette().
//
// Drawing happens in passes: BeginDraw ... EndDraw. Every pixel routine needs an open pass, and
// the DIB is never replaced during one: a resize is deferred to the next pass, and a change that
// would re-create the DIB at once raises. Passes may nest. Each canvas keeps its own drawing
// state; a canvas belongs to one thread (the GUI thread for every canvas of the program).

#include <array>
#include <optional>

#include "media/bitmap.h"
#include "media/color.h"
#include "media/dib_error.h"
#include "media/packed_dib.h"
#include "media/rect.h"

namespace media {

class TMMDIBCanvas {
 public:
  TMMDIBCanvas();

  // The requested size (at least 1 × 1); the DIB takes it at once, or at the next pass when the
  // change comes during one.
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetWidth(int width) { SetSize(width, height_); }
  void SetHeight(int height) { SetSize(width_, height); }
  void SetSize(int width, int height);

  // 8 or 24; any other value raises "Bitlength not supported yet" and keeps the depth.
  int BitsPerPixel() const { return bits_per_pixel_; }
  void SetBitsPerPixel(int bits);

  // The picture laid into the DIB whenever it is re-created, stretched to the DIB's size or at its
  // own size from the top left; an empty bitmap means none.
  const Bitmap& BackGroundBitmap() const { return background_bitmap_; }
  void SetBackGroundBitmap(const Bitmap& bitmap);
  bool StretchBackGround() const { return stretch_background_; }
  void SetStretchBackGround(bool stretch);
  bool HasBackground() const { return background_.has_value(); }

  // Builds a new DIB for the size and depth and fills it from the background (or clears it).
  // Raises "Attempt to create new DIB while initialized for drawing" during a pass.
  void RecreateDIB();
  // Re-creates a DIB whose re-creation was deferred; nothing during a pass.
  void EnsureDIB();
  bool RecreatePending() const { return recreate_pending_; }
  const PackedDIB& DIB() const { return dib_; }

  void BeginDraw();
  void EndDraw();
  bool Drawing() const { return draw_depth_ > 0; }

  // Pixel routines, clipped to the DIB; outside a pass they raise "DIB not initialized for drawing".
  void SetColor(TColor color);
  void Clear();
  void FillRect(const TRect& r);
  // Only every second pixel of every second row, counted from the rectangle's top left.
  void FillRectDoted(const TRect& r);
  void SetPixel(int x, int y);
  // Both end points included.
  void Line(int x1, int y1, int x2, int y2);
  // Source must have a DIB of the same size and depth.
  void CopyFrom(const TMMDIBCanvas& source);
  // Copies the background image over the whole DIB; raises when there is none.
  void DrawBackground();

  // The colour ($00BBGGRR) of a pixel of the DIB; black outside it.
  TColor Pixel(int x, int y) const;

 private:
  void RequireDrawing() const;
  void RequireIdle() const;
  void Fill(const TRect& r, int step);
  void Put(std::uint8_t* p) const;

  int width_ = 1;
  int height_ = 1;
  int bits_per_pixel_ = 8;
  Bitmap background_bitmap_;
  bool stretch_background_ = true;
  bool recreate_pending_ = false;
  int draw_depth_ = 0;
  PackedDIB dib_;
  std::optional<PackedDIB> background_;  // the background at the DIB's size and depth
  std::array<std::uint8_t, 3> pen_{};    // the current colour's bytes: an index, or B, G, R
};

// A drawing pass for the lifetime of the object.
class DIBDrawPass {
 public:
  explicit DIBDrawPass(TMMDIBCanvas& canvas) : canvas_(canvas) { canvas_.BeginDraw(); }
  DIBDrawPass(const DIBDrawPass&) = delete;
  DIBDrawPass& operator=(const DIBDrawPass&) = delete;
  ~DIBDrawPass() { canvas_.EndDraw(); }

 private:
  TMMDIBCanvas& canvas_;
};

}  // namespace media
