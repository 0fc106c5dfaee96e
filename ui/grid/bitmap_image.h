#pragma once
// An engine bitmap as a QImage (a copy): 24-bit bitmaps in colour, 8-bit ones in grey.

#include <QImage>

#include "engine/bitmap.h"

namespace ui {

// A null image for an empty bitmap.
QImage ImageOfBitmap(const engine::Bitmap& bitmap);

}  // namespace ui
