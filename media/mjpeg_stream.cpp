#include "media/mjpeg_stream.h"

#include "media/avi_riff_layout.h"
#include "media/packed_dib.h"

namespace media {

using riff::GetU16;
using riff::GetU32;
using riff::PutU16;
using riff::PutU32;

MJPEGStream::MJPEGStream(std::shared_ptr<AVIStreamHandle> target, std::int32_t quality)
    : target_(std::move(target)),
      quality_(quality == ICQUALITY_DEFAULT ? kDefaultJPEGQuality
                                            : (quality < 0 ? 0 : quality > ICQUALITY_HIGH ? ICQUALITY_HIGH : quality) / 100) {
  if (quality_ < 1) quality_ = 1;
}

AVIStreamInfo MJPEGStream::Info() const {
  AVIStreamInfo info = target_->Info();
  info.fccHandler = kMotionJPEG;
  return info;
}

AVIResult MJPEGStream::SetFormat(std::int32_t position, std::span<const std::uint8_t> format) {
  if (format.size() < kBitmapInfoHeaderSize) return AVIERR_BADFORMAT;
  const auto width = static_cast<std::int32_t>(GetU32(&format[4]));
  const auto height = static_cast<std::int32_t>(GetU32(&format[8]));
  if (GetU16(&format[14]) != 24 || GetU32(&format[16]) != BI_RGB || width <= 0 || height == 0 ||
      height == INT32_MIN)
    return AVIERR_BADFORMAT;
  const int rows = height < 0 ? -height : height;

  std::vector<std::uint8_t> out;
  for (std::uint32_t v : {kBitmapInfoHeaderSize, std::uint32_t(width), std::uint32_t(rows)}) PutU32(out, v);
  PutU16(out, 1);
  PutU16(out, 24);
  for (std::uint32_t v : {kMotionJPEG, static_cast<std::uint32_t>(std::int64_t(width) * rows * 3), 0u, 0u, 0u, 0u})
    PutU32(out, v);
  const AVIResult r = target_->SetFormat(position, out);
  if (r == AVIERR_OK)
    frame_ = {nullptr, width, rows, static_cast<std::size_t>(DIBRowSize(width, 24)), height > 0};
  return r;
}

AVIResult MJPEGStream::Write(std::int32_t start, std::int32_t samples, std::span<const std::uint8_t> data,
                             std::uint32_t flags) {
  if (frame_.width == 0) return AVIERR_BADFORMAT;
  if (samples != 1) return AVIERR_BADPARAM;
  if (data.size() < frame_.row_size * std::size_t(frame_.height)) return AVIERR_BADSIZE;
  FrameRows frame = frame_;
  frame.bits = data.data();
  try {
    EncodeJPEG(frame, quality_, jpeg_);
  } catch (const EMJPEGError&) {
    return AVIERR_COMPRESSOR;
  }
  return WriteJPEG(start, jpeg_, flags);
}

AVIResult MJPEGStream::WriteJPEG(std::int32_t start, std::span<const std::uint8_t> jpeg, std::uint32_t flags) {
  if (frame_.width == 0) return AVIERR_BADFORMAT;
  if (jpeg.empty()) return AVIERR_BADSIZE;
  return target_->Write(start, 1, jpeg, flags | AVIIF_KEYFRAME);
}

}  // namespace media
