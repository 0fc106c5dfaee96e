#pragma once
// Conversions between the media types and Qt's.

#include <QColor>
#include <QImage>
#include <QRect>

#include "media/bitmap.h"
#include "media/color.h"
#include "media/packed_dib.h"
#include "media/rect.h"

namespace media {

inline QColor ToQColor(TColor color) {
  const TColor rgb = ColorToRGB(color);
  return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

inline QRect ToQRect(const TRect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }
inline TRect ToTRect(const QRect& r) { return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }

// The rows of an image without copying it: 32-bit RGB images and 24-bit BGR ones are read as they
// are; any other format gives rows of 0 bits, which no DIB routine reads. Image must outlive them.
BitmapRows RowsOf(const QImage& image);

// A copy of an image as a 24-bit media bitmap (an empty image gives an empty bitmap).
Bitmap BitmapFromImage(const QImage& image);

// The picture of a packed DIB at 8 or 24 bits: shares the pixels of a top-down DIB (Dib must then
// outlive it), copies a bottom-up one.
QImage ImageOf(const PackedDIB& dib);

}  // namespace media
