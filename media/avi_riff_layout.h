#pragma once
// The RIFF AVI 1.0 layout shared by the writer and the header reader: chunk codes, header sizes,
// and little-endian field access.
//
//   RIFF 'AVI '
//     LIST 'hdrl'  avih, then one LIST 'strl' (strh, strf, strn) per stream
//     JUNK         room left for the headers, which are written last
//     LIST 'movi'  one chunk per frame: '00db' (uncompressed) or '00dc' (compressed)
//     idx1         one entry per chunk, offsets counted from the 'movi' code

#include <cstdint>
#include <cstring>
#include <vector>

#include "media/avi_types.h"

namespace media::riff {

constexpr FourCC kRIFF = MakeFourCC("RIFF");
constexpr FourCC kAVI = MakeFourCC("AVI ");
constexpr FourCC kLIST = MakeFourCC("LIST");
constexpr FourCC kHdrl = MakeFourCC("hdrl");
constexpr FourCC kAvih = MakeFourCC("avih");
constexpr FourCC kStrl = MakeFourCC("strl");
constexpr FourCC kStrh = MakeFourCC("strh");
constexpr FourCC kStrf = MakeFourCC("strf");
constexpr FourCC kStrn = MakeFourCC("strn");
constexpr FourCC kJUNK = MakeFourCC("JUNK");
constexpr FourCC kMovi = MakeFourCC("movi");
constexpr FourCC kIdx1 = MakeFourCC("idx1");

constexpr std::uint32_t kAvihSize = 56;
constexpr std::uint32_t kStrhSize = 56;
constexpr std::uint32_t kIndexEntrySize = 16;
constexpr std::uint32_t AVIF_HASINDEX = 0x10;

// Chunks are padded to an even size.
constexpr std::uint64_t Padded(std::uint64_t size) { return size + (size & 1); }

inline void PutU16(std::vector<std::uint8_t>& out, std::uint16_t v) {
  out.push_back(std::uint8_t(v));
  out.push_back(std::uint8_t(v >> 8));
}
inline void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t(v >> (8 * i)));
}
inline std::uint16_t GetU16(const std::uint8_t* p) { return std::uint16_t(p[0] | p[1] << 8); }
inline std::uint32_t GetU32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

}  // namespace media::riff
