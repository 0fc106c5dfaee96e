#include "media/packed_dib.h"

#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

namespace media {

namespace {

void Put16(std::uint8_t* p, std::uint16_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}

void Put32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

int SupportedDepth(int bit_count) {
  if (bit_count <= 4) return 4;
  if (bit_count <= 8) return 8;
  return 24;
}

}  // namespace

std::int64_t DIBRowSize(std::int64_t width, int bits) { return ((width * bits + 31) & ~std::int64_t{31}) / 8; }

std::uint32_t DIBNumColors(const BitmapInfoHeader& h) {
  if (h.biClrUsed != 0) return h.biClrUsed;
  if (h.biBitCount <= 8) return 1u << h.biBitCount;
  return 0;
}

std::size_t DIBPixelOffset(const BitmapInfoHeader& h) {
  std::size_t offset = h.biSize + std::size_t{DIBNumColors(h)} * 4;
  if (h.biCompression == BI_BITFIELDS) offset += 12;
  return offset;
}

std::size_t DIBImageSize(const BitmapInfoHeader& h) {
  if (h.biSizeImage != 0) return h.biSizeImage;
  const std::int64_t height = h.biHeight < 0 ? -std::int64_t{h.biHeight} : h.biHeight;
  return static_cast<std::size_t>(DIBRowSize(h.biWidth, h.biBitCount) * height);
}

PackedDIB PackedDIB::Create(int bit_count, int orientation, int width, int height, bool with_pixels) {
  PackedDIB dib;
  const int bits = SupportedDepth(bit_count);
  width = width < 1 ? 1 : width;
  height = height < 1 ? 1 : height;
  const std::int64_t row_size = DIBRowSize(width, bits);
  const std::int64_t image_size = row_size * height;
  if (image_size > std::numeric_limits<std::int32_t>::max()) throw std::bad_alloc();

  auto& h = dib.header_;
  h.biWidth = width;
  h.biHeight = orientation < 0 ? -height : height;
  h.biBitCount = static_cast<std::uint16_t>(bits);
  h.biSizeImage = with_pixels ? static_cast<std::uint32_t>(image_size) : 0;
  h.biClrUsed = bits == 4 ? 16 : bits == 8 ? 256 : 0;
  dib.row_size_ = static_cast<int>(row_size);
  dib.block_.assign(DIBPixelOffset(h) + h.biSizeImage, 0);
  dib.WriteHeader();
  for (std::uint32_t i = 0; i < h.biClrUsed; ++i)
    dib.SetColor(static_cast<int>(i), VGAColors()[i % VGAColors().size()]);
  return dib;
}

void PackedDIB::WriteHeader() {
  std::uint8_t* p = block_.data();
  Put32(p + 0, header_.biSize);
  Put32(p + 4, static_cast<std::uint32_t>(header_.biWidth));
  Put32(p + 8, static_cast<std::uint32_t>(header_.biHeight));
  Put16(p + 12, header_.biPlanes);
  Put16(p + 14, header_.biBitCount);
  Put32(p + 16, header_.biCompression);
  Put32(p + 20, header_.biSizeImage);
  Put32(p + 24, static_cast<std::uint32_t>(header_.biXPelsPerMeter));
  Put32(p + 28, static_cast<std::uint32_t>(header_.biYPelsPerMeter));
  Put32(p + 32, header_.biClrUsed);
  Put32(p + 36, header_.biClrImportant);
}

void PackedDIB::CheckColorIndex(int index) const {
  if (index < 0 || static_cast<std::uint32_t>(index) >= header_.biClrUsed)
    throw std::out_of_range("DIB colour index out of range");
}

RGBQuad PackedDIB::Color(int index) const {
  CheckColorIndex(index);
  const std::uint8_t* p = block_.data() + header_.biSize + std::size_t(index) * 4;
  return {p[0], p[1], p[2], p[3]};
}

void PackedDIB::SetColor(int index, RGBQuad color) {
  CheckColorIndex(index);
  std::uint8_t* p = block_.data() + header_.biSize + std::size_t(index) * 4;
  p[0] = color.Blue;
  p[1] = color.Green;
  p[2] = color.Red;
  p[3] = color.Reserved;
}

std::uint8_t* PackedDIB::Row(int y) {
  const int stored = BottomUp() ? Height() - 1 - y : y;
  return Bits() + std::size_t(stored) * row_size_;
}

const std::uint8_t* PackedDIB::Row(int y) const { return const_cast<PackedDIB*>(this)->Row(y); }

}  // namespace media
