#pragma once
// Stretch-drawing one bitmap into a rectangle of another, nearest pixel, as a canvas does it.
// A rectangle whose right is left of its left (or bottom above its top) mirrors that axis:
// (w - 1, h - 1, -1, -1) covers the whole w x h bitmap turned by half a turn.

#include "engine/bitmap.h"

namespace engine {

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// Draws src over dest's rect, clipped to dest. 8-bit pixels draw as grey into a 24-bit
// bitmap; 24-bit pixels draw as their brightness into an 8-bit one.
void StretchDraw(Bitmap& dest, const Rect& rect, const Bitmap& src);

// Over the whole of dest.
void StretchDraw(Bitmap& dest, const Bitmap& src);

}  // namespace engine
