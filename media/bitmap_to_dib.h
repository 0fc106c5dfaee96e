#pragma once
// Reading a bitmap into a new packed DIB, the form in which frames are written to an AVI file.

#include <optional>
#include <span>

#include "media/bitmap.h"
#include "media/packed_dib.h"

namespace media {

// A packed DIB with pixel memory of Source's size at BitCount (depths as PackedDIB::Create), rows
// in Orientation (kBottomUp or kTopDown). At 4 and 8 bits each pixel becomes the nearest entry of
// the colour table: the VGA colours, with the first entries replaced by Palette when one is given.
// Empty when the source cannot be read: no pixels, a pixel format other than 24 or 32 bits, or a
// row it does not deliver.
std::optional<PackedDIB> BitmapToDIB(const BitmapRows& source, std::span<const RGBQuad> palette,
                                     int bit_count, int orientation);

}  // namespace media
