#include "media/avi_riff_writer.h"

#include <unistd.h>

#include <algorithm>

#include "media/avi_riff_layout.h"
#include "media/packed_dib.h"
#include "platform/fd_io.h"

namespace media {

using namespace riff;

namespace {

// Room kept for a format not yet known: a bitmap header with a full 256-colour table.
constexpr std::size_t kFormatRoom = kBitmapInfoHeaderSize + 256 * 4;
// 'movi' starts on such a boundary, which leaves room for a JUNK chunk's own 8 bytes.
constexpr std::uint64_t kHeaderAlign = 512;

void PutChunk(std::vector<std::uint8_t>& out, FourCC id, std::span<const std::uint8_t> data) {
  PutU32(out, id);
  PutU32(out, static_cast<std::uint32_t>(data.size()));
  out.insert(out.end(), data.begin(), data.end());
  if (data.size() & 1) out.push_back(0);
}

// Width, height and compression of a video format (a bitmap header); zeros when it is shorter.
struct FrameFormat {
  std::int32_t width = 0, height = 0;
  std::uint32_t compression = BI_RGB;
};
FrameFormat ReadFrameFormat(const std::vector<std::uint8_t>& format) {
  if (format.size() < kBitmapInfoHeaderSize) return {};
  const auto height = static_cast<std::int32_t>(GetU32(&format[8]));
  return {static_cast<std::int32_t>(GetU32(&format[4])), height < 0 ? -height : height, GetU32(&format[16])};
}

std::vector<std::uint8_t> DefaultVideoFormat(FourCC compression) {
  BitmapInfoHeader h;
  h.biWidth = 1;
  h.biHeight = 1;
  h.biBitCount = 24;
  h.biCompression = compression;
  h.biSizeImage = static_cast<std::uint32_t>(DIBRowSize(1, 24));
  std::vector<std::uint8_t> out;
  for (std::uint32_t v : {h.biSize, std::uint32_t(h.biWidth), std::uint32_t(h.biHeight)}) PutU32(out, v);
  PutU16(out, h.biPlanes);
  PutU16(out, h.biBitCount);
  for (std::uint32_t v : {h.biCompression, h.biSizeImage, 0u, 0u, 0u, 0u}) PutU32(out, v);
  return out;
}

}  // namespace

AVIRiffWriter::AVIRiffWriter(int fd, std::uint64_t max_file_size)
    : fd_(fd), max_file_size_(std::min<std::uint64_t>(max_file_size, 0xFFFFFFFFu)) {}

AVIRiffWriter::~AVIRiffWriter() { Close(); }

void AVIRiffWriter::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

AVIResult AVIRiffWriter::AddStream(const AVIStreamInfo& info, int& index) {
  if (finished_) return AVIERR_BADHANDLE;
  if (movi_start_ != 0) return AVIERR_UNSUPPORTED;
  Stream s;
  s.info = info;
  s.info.dwLength = 0;
  s.info.szName.resize(std::min(s.info.szName.size(), kStreamNameMax));
  streams_.push_back(std::move(s));
  index = StreamCount() - 1;
  return AVIERR_OK;
}

AVIStreamInfo AVIRiffWriter::Info(int stream) const {
  const Stream& s = streams_[std::size_t(stream)];
  AVIStreamInfo info = s.info;
  info.dwSuggestedBufferSize = std::max(info.dwSuggestedBufferSize, s.max_chunk);
  if (info.fccType == streamtypeVIDEO) {
    const FrameFormat f = ReadFrameFormat(s.format);
    if (info.fccHandler == 0 && f.compression != BI_RGB) info.fccHandler = f.compression;
    if (info.rcFrame.Empty()) info.rcFrame = {0, 0, f.width, f.height};
  }
  return info;
}

AVIResult AVIRiffWriter::SetFormat(int stream, std::int32_t, std::span<const std::uint8_t> format) {
  if (finished_) return AVIERR_BADHANDLE;
  if (stream < 0 || stream >= StreamCount() || format.empty()) return AVIERR_BADPARAM;
  Stream& s = streams_[std::size_t(stream)];
  if (std::equal(format.begin(), format.end(), s.format.begin(), s.format.end())) return AVIERR_OK;
  // Once the headers' room is fixed, a new format must fit in what was kept for it.
  const std::size_t room = s.format.empty() ? kFormatRoom : s.format.size();
  if (s.info.dwLength > 0 || (movi_start_ != 0 && format.size() > room)) return AVIERR_UNSUPPORTED;
  s.format.assign(format.begin(), format.end());
  return AVIERR_OK;
}

FourCC AVIRiffWriter::ChunkId(int stream) const {
  const Stream& s = streams_[std::size_t(stream)];
  const char* kind = "dc";
  if (s.info.fccType == streamtypeAUDIO) kind = "wb";
  if (s.info.fccType == streamtypeVIDEO && ReadFrameFormat(s.format).compression == BI_RGB) kind = "db";
  const char id[5] = {char('0' + stream / 10 % 10), char('0' + stream % 10), kind[0], kind[1], 0};
  return MakeFourCC(id);
}

AVIResult AVIRiffWriter::WriteAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) {
  return platform::PwriteAll(fd_, bytes.data(), bytes.size(), static_cast<off_t>(offset)) ? AVIERR_OK
                                                                                          : AVIERR_FILEWRITE;
}

AVIResult AVIRiffWriter::Write(int stream, std::int32_t position, std::span<const std::uint8_t> data,
                               std::uint32_t flags) {
  if (finished_) return AVIERR_BADHANDLE;
  if (stream < 0 || stream >= StreamCount()) return AVIERR_BADPARAM;
  Stream& s = streams_[std::size_t(stream)];
  if (position < 0 || std::uint32_t(position) != s.info.dwLength) return AVIERR_BADPARAM;
  if (s.format.empty()) return AVIERR_BADFORMAT;
  if (movi_start_ == 0) {
    ReserveHeaders();
    // A file whose writer never finishes is still a movie of no frames, then of the frames so far.
    if (AVIResult r = WriteHeaders(end_, false); r != AVIERR_OK) return r;
  }

  // The finished file: what is written, this chunk, the index with its entry, and idx1's header.
  const std::uint64_t chunk_end = end_ + 8 + Padded(data.size());
  if (chunk_end + (index_.size() + 1) * kIndexEntrySize + 8 > max_file_size_) return AVIERR_FILEWRITE;

  const FourCC id = ChunkId(stream);
  std::vector<std::uint8_t> header;
  PutU32(header, id);
  PutU32(header, static_cast<std::uint32_t>(data.size()));
  const std::uint8_t pad[1] = {0};
  AVIResult r = WriteAt(end_, header);
  if (r == AVIERR_OK) r = WriteAt(end_ + 8, data);
  if (r == AVIERR_OK && (data.size() & 1)) r = WriteAt(end_ + 8 + data.size(), pad);
  if (r != AVIERR_OK) {
    // Keep the file as it was before this chunk; the index is written after the last good one.
    if (::ftruncate(fd_, static_cast<off_t>(end_)) != 0) return AVIERR_FILEWRITE;
    return r;
  }
  index_.push_back({id, flags & AVIIF_KEYFRAME,
                    static_cast<std::uint32_t>(end_ - (movi_start_ + 8)), static_cast<std::uint32_t>(data.size())});
  end_ = chunk_end;
  ++s.info.dwLength;
  s.max_chunk = std::max(s.max_chunk, static_cast<std::uint32_t>(data.size()));
  // The headers follow each frame; should that fail, they still describe the frames before it.
  return WriteHeaders(end_, false);
}

AVIResult AVIRiffWriter::WriteHeaders(std::uint64_t file_end, bool indexed) {
  std::vector<std::uint8_t> headers = Headers(!finished_, indexed);
  const std::uint32_t riff_size = static_cast<std::uint32_t>(file_end - 8);
  for (int i = 0; i < 4; ++i) headers[4 + i] = std::uint8_t(riff_size >> (8 * i));
  const std::uint64_t junk = movi_start_ - headers.size() - 8;
  PutU32(headers, kJUNK);
  PutU32(headers, static_cast<std::uint32_t>(junk));
  headers.resize(movi_start_, 0);
  PutU32(headers, kLIST);
  PutU32(headers, static_cast<std::uint32_t>(end_ - (movi_start_ + 8)));
  PutU32(headers, kMovi);
  return WriteAt(0, headers);
}

void AVIRiffWriter::ReserveHeaders() {
  const std::uint64_t needed = Headers(true, true).size() + 8;  // and a JUNK chunk's header
  movi_start_ = (needed + kHeaderAlign - 1) / kHeaderAlign * kHeaderAlign;
  end_ = movi_start_ + 12;
}

std::vector<std::uint8_t> AVIRiffWriter::StreamHeader(const Stream& s, std::size_t number, bool placeholders) const {
  const AVIStreamInfo info = Info(static_cast<int>(number));
  std::vector<std::uint8_t> strh;
  for (std::uint32_t v : {info.fccType, info.fccHandler, info.dwFlags}) PutU32(strh, v);
  PutU16(strh, info.wPriority);
  PutU16(strh, info.wLanguage);
  for (std::uint32_t v : {info.dwInitialFrames, info.dwScale, info.dwRate, info.dwStart, info.dwLength,
                          info.dwSuggestedBufferSize, std::uint32_t(info.dwQuality), info.dwSampleSize})
    PutU32(strh, v);
  for (int v : {info.rcFrame.Left, info.rcFrame.Top, info.rcFrame.Right, info.rcFrame.Bottom})
    PutU16(strh, static_cast<std::uint16_t>(v));

  std::vector<std::uint8_t> body;
  PutU32(body, kStrl);
  PutChunk(body, kStrh, strh);
  std::vector<std::uint8_t> format = s.format;
  if (format.empty() && placeholders) format.assign(kFormatRoom, 0);
  PutChunk(body, kStrf, format);
  std::vector<std::uint8_t> name(info.szName.begin(), info.szName.end());
  name.push_back(0);
  PutChunk(body, kStrn, name);

  std::vector<std::uint8_t> out;
  PutChunk(out, kLIST, body);
  return out;
}

std::vector<std::uint8_t> AVIRiffWriter::Headers(bool placeholders, bool indexed) const {
  std::uint32_t rate_scale_us = 0, width = 0, height = 0, total = 0, buffer = 0;
  std::uint64_t bytes_per_sec = 0;
  bool video_seen = false;
  for (std::size_t i = 0; i < streams_.size(); ++i) {
    const AVIStreamInfo info = Info(static_cast<int>(i));
    buffer = std::max(buffer, info.dwSuggestedBufferSize);
    if (info.dwScale != 0) bytes_per_sec += std::uint64_t(streams_[i].max_chunk) * info.dwRate / info.dwScale;
    if (info.fccType != streamtypeVIDEO || video_seen) continue;
    video_seen = true;
    if (info.dwRate != 0) rate_scale_us = static_cast<std::uint32_t>(1000000ull * info.dwScale / info.dwRate);
    width = static_cast<std::uint32_t>(info.rcFrame.Width());
    height = static_cast<std::uint32_t>(info.rcFrame.Height());
    total = info.dwLength;
  }
  std::vector<std::uint8_t> avih;
  for (std::uint32_t v : {rate_scale_us, static_cast<std::uint32_t>(std::min<std::uint64_t>(bytes_per_sec, 0xFFFFFFFFu)),
                          0u, indexed ? AVIF_HASINDEX : 0u, total, 0u, static_cast<std::uint32_t>(streams_.size()), buffer, width,
                          height, 0u, 0u, 0u, 0u})
    PutU32(avih, v);

  std::vector<std::uint8_t> hdrl;
  PutU32(hdrl, kHdrl);
  PutChunk(hdrl, kAvih, avih);
  for (std::size_t i = 0; i < streams_.size(); ++i) {
    const std::vector<std::uint8_t> strl = StreamHeader(streams_[i], i, placeholders);
    hdrl.insert(hdrl.end(), strl.begin(), strl.end());
  }
  std::vector<std::uint8_t> out;
  PutU32(out, kRIFF);
  PutU32(out, 0);  // the file's size, set by Finish
  PutU32(out, kAVI);
  PutChunk(out, kLIST, hdrl);
  return out;
}

AVIResult AVIRiffWriter::Finish() {
  if (finished_) return finish_result_;
  finished_ = true;
  if (movi_start_ == 0) ReserveHeaders();
  for (Stream& s : streams_)
    if (s.format.empty() && s.info.fccType == streamtypeVIDEO) s.format = DefaultVideoFormat(s.info.fccHandler);

  std::vector<std::uint8_t> idx1;
  PutU32(idx1, kIdx1);
  PutU32(idx1, static_cast<std::uint32_t>(index_.size() * kIndexEntrySize));
  for (const IndexEntry& e : index_)
    for (std::uint32_t v : {e.id, e.flags, e.offset, e.size}) PutU32(idx1, v);

  // First the final headers of a file without an index, which is whole as it stands; the index
  // only counts once it is written and the headers say so. An index that cannot be written is
  // cut off again, leaving the frames and the headers that describe them.
  AVIResult r = WriteHeaders(end_, false);
  if (r == AVIERR_OK) {
    r = WriteAt(end_, idx1);
    if (r == AVIERR_OK)
      r = WriteHeaders(end_ + idx1.size(), true);
    else if (::ftruncate(fd_, static_cast<off_t>(end_)) != 0)
      r = AVIERR_FILEWRITE;
  }
  if (::close(fd_) != 0 && r == AVIERR_OK) r = AVIERR_FILEWRITE;
  fd_ = -1;
  finish_result_ = r;
  return r;
}

}  // namespace media
