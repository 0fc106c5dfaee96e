#include "media/avi_header_reader.h"

#include <sys/stat.h>

#include <algorithm>
#include <span>

#include "media/avi_riff_layout.h"
#include "platform/fd_io.h"

namespace media {

using namespace riff;

namespace {

// Headers larger than this are not an AVI file we can use.
constexpr std::uint32_t kMaxHeaderList = 16u << 20;

// Calls Visit(id, body) for each chunk of Bytes; false when a chunk runs past the end.
template <typename Visit>
bool ForEachChunk(std::span<const std::uint8_t> bytes, Visit visit) {
  std::size_t at = 0;
  while (at + 8 <= bytes.size()) {
    const std::uint32_t size = GetU32(&bytes[at + 4]);
    if (size > bytes.size() - at - 8) return false;
    visit(GetU32(&bytes[at]), bytes.subspan(at + 8, size));
    at += 8 + Padded(size);
  }
  return true;
}

AVIStreamInfo ParseStreamHeader(std::span<const std::uint8_t> strh) {
  AVIStreamInfo info;
  const std::uint8_t* p = strh.data();
  info.fccType = GetU32(p);
  info.fccHandler = GetU32(p + 4);
  info.dwFlags = GetU32(p + 8);
  info.wPriority = GetU16(p + 12);
  info.wLanguage = GetU16(p + 14);
  info.dwInitialFrames = GetU32(p + 16);
  info.dwScale = GetU32(p + 20);
  info.dwRate = GetU32(p + 24);
  info.dwStart = GetU32(p + 28);
  info.dwLength = GetU32(p + 32);
  info.dwSuggestedBufferSize = GetU32(p + 36);
  info.dwQuality = static_cast<std::int32_t>(GetU32(p + 40));
  info.dwSampleSize = GetU32(p + 44);
  if (strh.size() >= kStrhSize) {
    auto edge = [&](int i) { return static_cast<int>(static_cast<std::int16_t>(GetU16(p + 48 + 2 * i))); };
    info.rcFrame = {edge(0), edge(1), edge(2), edge(3)};
  }
  return info;
}

bool ParseStreamList(std::span<const std::uint8_t> strl, AVIStreamHeaders& out) {
  bool have_header = false;
  const bool whole = ForEachChunk(strl, [&](FourCC id, std::span<const std::uint8_t> body) {
    if (id == kStrh && body.size() >= 48) {  // all but the frame rectangle
      out.info = ParseStreamHeader(body);
      have_header = true;
    } else if (id == kStrf) {
      out.format.assign(body.begin(), body.end());
    } else if (id == kStrn) {
      const auto end = std::find(body.begin(), body.end(), std::uint8_t(0));
      out.info.szName.assign(body.begin(), std::min(end, body.begin() + kStreamNameMax));
    }
  });
  return whole && have_header;
}

}  // namespace

AVIResult ReadAVIHeaders(int fd, AVIFileHeaders& out) {
  struct stat st {};
  if (::fstat(fd, &st) != 0) return AVIERR_FILEREAD;
  const auto file_size = static_cast<std::uint64_t>(st.st_size);
  std::uint8_t top[12];
  if (file_size < sizeof top || !platform::PreadAll(fd, top, sizeof top, 0)) return AVIERR_BADFORMAT;
  if (GetU32(top) != kRIFF || GetU32(top + 8) != kAVI) return AVIERR_BADFORMAT;
  const std::uint64_t riff_end = std::min<std::uint64_t>(file_size, 8 + std::uint64_t(GetU32(top + 4)));

  // The header list is the first list of the file, as every writer puts it.
  std::uint8_t head[12];
  if (riff_end < 24 || !platform::PreadAll(fd, head, sizeof head, 12)) return AVIERR_BADFORMAT;
  const std::uint32_t size = GetU32(head + 4);
  if (GetU32(head) != kLIST || GetU32(head + 8) != kHdrl || size < 4 || size > kMaxHeaderList ||
      24 + std::uint64_t(size - 4) > riff_end)
    return AVIERR_BADFORMAT;
  std::vector<std::uint8_t> hdrl(size - 4);
  if (!platform::PreadAll(fd, hdrl.data(), hdrl.size(), 24)) return AVIERR_FILEREAD;

  AVIFileHeaders headers;
  bool have_main = false, streams_whole = true;
  const bool whole = ForEachChunk(hdrl, [&](FourCC id, std::span<const std::uint8_t> body) {
    if (id == kAvih && body.size() >= kAvihSize) {
      headers.suggested_buffer_size = GetU32(&body[28]);
      have_main = true;
    } else if (id == kLIST && body.size() >= 4 && GetU32(body.data()) == kStrl) {
      AVIStreamHeaders stream;
      streams_whole = ParseStreamList(body.subspan(4), stream) && streams_whole;
      headers.streams.push_back(std::move(stream));
    }
  });
  if (!whole || !have_main || !streams_whole) return AVIERR_BADFORMAT;
  out = std::move(headers);
  return AVIERR_OK;
}

}  // namespace media
