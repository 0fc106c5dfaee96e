#pragma once
// A rectangle by its edges; Right and Bottom lie just outside it, so the width is Right - Left.

namespace media {

struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;

  constexpr int Width() const { return Right - Left; }
  constexpr int Height() const { return Bottom - Top; }
  constexpr bool Empty() const { return Right <= Left || Bottom <= Top; }
  // The same rectangle moved inward by d on every side.
  constexpr TRect Shrunk(int d) const { return {Left + d, Top + d, Right - d, Bottom - d}; }
  constexpr TRect Intersected(const TRect& o) const {
    return {Left > o.Left ? Left : o.Left, Top > o.Top ? Top : o.Top,
            Right < o.Right ? Right : o.Right, Bottom < o.Bottom ? Bottom : o.Bottom};
  }
  friend constexpr bool operator==(const TRect&, const TRect&) = default;
};

}  // namespace media
