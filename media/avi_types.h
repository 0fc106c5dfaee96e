#pragma once
// The values the AVI components exchange: four-character codes, a stream's header, the options of
// a stream's compression, and the flags of the AVI format.

#include <cstdint>
#include <string>
#include <vector>

#include "media/rect.h"

namespace media {

using FourCC = std::uint32_t;

// 'abcd' as stored in a file: the first character in the lowest byte.
constexpr FourCC MakeFourCC(const char (&s)[5]) {
  return FourCC(std::uint8_t(s[0])) | FourCC(std::uint8_t(s[1])) << 8 | FourCC(std::uint8_t(s[2])) << 16 |
         FourCC(std::uint8_t(s[3])) << 24;
}

constexpr FourCC streamtypeVIDEO = MakeFourCC("vids");
constexpr FourCC streamtypeAUDIO = MakeFourCC("auds");
constexpr FourCC kMotionJPEG = MakeFourCC("MJPG");

// Marks a sample (a frame) as a key frame in the file's index.
constexpr std::uint32_t AVIIF_KEYFRAME = 0x10;

// A stream's header. A name is at most kStreamNameMax bytes (the header's 64 less the terminator).
struct AVIStreamInfo {
  FourCC fccType = 0;
  FourCC fccHandler = 0;
  std::uint32_t dwFlags = 0;
  std::uint16_t wPriority = 0;
  std::uint16_t wLanguage = 0;
  std::uint32_t dwScale = 1;
  std::uint32_t dwRate = 0;
  std::uint32_t dwStart = 0;
  std::uint32_t dwLength = 0;  // samples (frames) in the stream
  std::uint32_t dwInitialFrames = 0;
  std::uint32_t dwSuggestedBufferSize = 0;
  std::int32_t dwQuality = -1;
  std::uint32_t dwSampleSize = 0;  // 0: samples of varying size, one a chunk
  TRect rcFrame;
  std::string szName;
};
constexpr std::size_t kStreamNameMax = 63;

// The options of one stream's compression. fccHandler 0 means no compressor.
constexpr std::uint32_t AVICOMPRESSF_INTERLEAVE = 0x1;
constexpr std::uint32_t AVICOMPRESSF_DATARATE = 0x2;
constexpr std::uint32_t AVICOMPRESSF_KEYFRAMES = 0x4;
constexpr std::uint32_t AVICOMPRESSF_VALID = 0x8;
constexpr std::int32_t ICQUALITY_DEFAULT = -1;
constexpr std::int32_t ICQUALITY_HIGH = 10000;

struct AVICompressOptions {
  FourCC fccType = 0;
  FourCC fccHandler = 0;
  std::uint32_t dwKeyFrameEvery = 0;
  std::int32_t dwQuality = 0;  // 0..10000, or ICQUALITY_DEFAULT
  std::uint32_t dwBytesPerSecond = 0;
  std::uint32_t dwFlags = 0;
  std::vector<std::uint8_t> lpFormat;  // audio: the stream's own format
  std::vector<std::uint8_t> lpParms;
  std::uint32_t dwInterleaveEvery = 0;
};

}  // namespace media
