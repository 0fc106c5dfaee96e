#include "media/bitmap_to_dib.h"

#include <cstring>
#include <vector>

namespace media {

namespace {

// One row of 32-bit pixels (B, G, R, unused) as 24-bit ones.
void CopyDroppingFourthBytes(const std::uint8_t* in, std::uint8_t* out, int width) {
  for (int x = 0; x < width; ++x, in += 4, out += 3) {
    out[0] = in[0];
    out[1] = in[1];
    out[2] = in[2];
  }
}

void WritePalettedRow(const std::uint8_t* in, int step, std::uint8_t* out, int width, int bit_count,
                      std::span<const RGBQuad> table) {
  for (int x = 0; x < width; ++x, in += step) {
    const std::uint8_t index = NearestPaletteIndex(table, RGBColor(in[2], in[1], in[0]));
    if (bit_count == 8)
      out[x] = index;
    else
      out[x / 2] |= static_cast<std::uint8_t>(x % 2 == 0 ? index << 4 : index);
  }
}

}  // namespace

std::optional<PackedDIB> BitmapToDIB(const BitmapRows& source, std::span<const RGBQuad> palette,
                                     int bit_count, int orientation) {
  if (source.Width <= 0 || source.Height <= 0 || !source.Row) return std::nullopt;
  if (source.BitsPerPixel != 24 && source.BitsPerPixel != 32) return std::nullopt;
  PackedDIB dib = PackedDIB::Create(bit_count, orientation, source.Width, source.Height, true);

  const int colors = static_cast<int>(dib.Header().biClrUsed);
  for (int i = 0; i < colors && i < static_cast<int>(palette.size()); ++i) dib.SetColor(i, palette[i]);
  std::vector<RGBQuad> table(static_cast<std::size_t>(colors));
  for (int i = 0; i < colors; ++i) table[std::size_t(i)] = dib.Color(i);

  // The padding at the end of each row stays as Create left it: zero.
  const std::size_t row_bytes = std::size_t(source.Width) * 3;
  for (int y = 0; y < source.Height; ++y) {
    const std::uint8_t* in = source.Row(y);
    if (in == nullptr) return std::nullopt;
    std::uint8_t* out = dib.Row(y);
    if (dib.BitCount() != 24)
      WritePalettedRow(in, source.BitsPerPixel / 8, out, source.Width, dib.BitCount(), table);
    else if (source.BitsPerPixel == 24)
      std::memcpy(out, in, row_bytes);
    else
      CopyDroppingFourthBytes(in, out, source.Width);
  }
  return dib;
}

}  // namespace media
