#pragma once
// The packed device-independent bitmap: one block holding a 40-byte bitmap header, the colour
// table and the pixel rows, each row padded to a multiple of 4 bytes, bottom row first unless the
// height is negative. This is the layout an AVI stream's format and frames are written from.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "media/dib_palette.h"

namespace media {

constexpr std::uint32_t kBitmapInfoHeaderSize = 40;
constexpr std::uint32_t BI_RGB = 0;
constexpr std::uint32_t BI_BITFIELDS = 3;

struct BitmapInfoHeader {
  std::uint32_t biSize = kBitmapInfoHeaderSize;
  std::int32_t biWidth = 0;
  std::int32_t biHeight = 0;  // negative: rows top-down
  std::uint16_t biPlanes = 1;
  std::uint16_t biBitCount = 0;
  std::uint32_t biCompression = BI_RGB;
  std::uint32_t biSizeImage = 0;
  std::int32_t biXPelsPerMeter = 0;
  std::int32_t biYPelsPerMeter = 0;
  std::uint32_t biClrUsed = 0;
  std::uint32_t biClrImportant = 0;
};

// Bytes of one row of Width pixels at Bits per pixel, padded to 4 bytes.
std::int64_t DIBRowSize(std::int64_t width, int bits);
// biClrUsed when set, else 2^biBitCount up to 8 bits, else 0.
std::uint32_t DIBNumColors(const BitmapInfoHeader& h);
// Offset of the pixels from the start of the header: header, colour table, and the three colour
// masks of BI_BITFIELDS.
std::size_t DIBPixelOffset(const BitmapInfoHeader& h);
// biSizeImage when set, else row size × height.
std::size_t DIBImageSize(const BitmapInfoHeader& h);

constexpr int kBottomUp = 1;
constexpr int kTopDown = -1;

class PackedDIB {
 public:
  // A zero-filled DIB of at least 1 × 1 pixels. Depths up to 4 bits become 4, 5..8 become 8 and
  // anything above 8 becomes 24. The colour table (16 entries at 4 bits, 256 at 8) holds the VGA
  // colours, repeated at 8 bits. Without pixel memory biSizeImage is 0 and the block ends after
  // the colour table. Throws std::bad_alloc for a size no header can describe.
  static PackedDIB Create(int bit_count, int orientation, int width, int height, bool with_pixels);

  const BitmapInfoHeader& Header() const { return header_; }
  int Width() const { return header_.biWidth; }
  int Height() const { return header_.biHeight < 0 ? -header_.biHeight : header_.biHeight; }
  int BitCount() const { return header_.biBitCount; }
  int RowSize() const { return row_size_; }
  bool BottomUp() const { return header_.biHeight > 0; }

  // The whole block, and its first part (header and colour table): the format of a video stream.
  const std::uint8_t* Data() const { return block_.data(); }
  std::size_t Size() const { return block_.size(); }
  std::size_t FormatSize() const { return DIBPixelOffset(header_); }

  // Entries of the colour table; an index outside it throws std::out_of_range.
  RGBQuad Color(int index) const;
  void SetColor(int index, RGBQuad color);

  std::uint8_t* Bits() { return block_.data() + FormatSize(); }
  const std::uint8_t* Bits() const { return block_.data() + FormatSize(); }
  std::size_t ImageSize() const { return header_.biSizeImage; }
  // Row Y counted from the top of the picture, whichever order the rows are stored in.
  std::uint8_t* Row(int y);
  const std::uint8_t* Row(int y) const;

 private:
  PackedDIB() = default;
  void WriteHeader();
  void CheckColorIndex(int index) const;

  BitmapInfoHeader header_;
  int row_size_ = 0;
  std::vector<std::uint8_t> block_;
};

}  // namespace media
