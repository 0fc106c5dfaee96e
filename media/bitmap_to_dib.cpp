#include "media/bitmap_to_dib.h"

#include <algorithm>
#include <vector>

namespace media {

std::optional<PackedDIB> BitmapToDIB(const BitmapRows& source, std::span<const RGBQuad> palette,
                                     int bit_count, int orientation) {
  if (source.Width <= 0 || source.Height <= 0 || !source.Row) return std::nullopt;
  if (source.BitsPerPixel != 24 && source.BitsPerPixel != 32) return std::nullopt;
  PackedDIB dib = PackedDIB::Create(bit_count, orientation, source.Width, source.Height, true);

  const int colors = static_cast<int>(dib.Header().biClrUsed);
  for (int i = 0; i < colors && i < static_cast<int>(palette.size()); ++i) dib.SetColor(i, palette[i]);
  std::vector<RGBQuad> table(static_cast<std::size_t>(colors));
  for (int i = 0; i < colors; ++i) table[std::size_t(i)] = dib.Color(i);

  const int step = source.BitsPerPixel / 8;
  for (int y = 0; y < source.Height; ++y) {
    const std::uint8_t* in = source.Row(y);
    if (in == nullptr) return std::nullopt;
    std::uint8_t* out = dib.Row(y);
    for (int x = 0; x < source.Width; ++x, in += step) {
      if (dib.BitCount() == 24) {
        std::copy(in, in + 3, out + 3 * x);
        continue;
      }
      const std::uint8_t index = NearestPaletteIndex(table, RGBColor(in[2], in[1], in[0]));
      if (dib.BitCount() == 8) {
        out[x] = index;
      } else {
        out[x / 2] |= static_cast<std::uint8_t>(x % 2 == 0 ? index << 4 : index);
      }
    }
  }
  return dib;
}

}  // namespace media
