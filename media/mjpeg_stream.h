#pragma once
// A compressed stream over a video stream: it takes uncompressed 24-bit frames and writes them to
// the stream under it as Motion-JPEG frames ('MJPG'), every one a key frame.

#include <memory>

#include "media/avi_handles.h"
#include "media/mjpeg_encoder.h"

namespace media {

class MJPEGStream : public AVIStreamHandle {
 public:
  // Quality in the compressor's scale: 0..10000, or ICQUALITY_DEFAULT.
  MJPEGStream(std::shared_ptr<AVIStreamHandle> target, std::int32_t quality);

  AVIStreamInfo Info() const override;
  std::vector<std::uint8_t> Format() const override { return target_->Format(); }
  // Format is the frames' own: a 24-bit uncompressed bitmap header (AVIERR_BADFORMAT else). The
  // stream under it gets the Motion-JPEG header of the same size.
  AVIResult SetFormat(std::int32_t position, std::span<const std::uint8_t> format) override;
  // Data holds one frame's rows as the format describes them.
  AVIResult Write(std::int32_t start, std::int32_t samples, std::span<const std::uint8_t> data,
                  std::uint32_t flags) override;
  // Writes Jpeg, a picture already compressed at the frame size of the format, as the frame at
  // Start, byte for byte.
  AVIResult WriteJPEG(std::int32_t start, std::span<const std::uint8_t> jpeg, std::uint32_t flags);

  int JPEGQuality() const { return quality_; }

 private:
  std::shared_ptr<AVIStreamHandle> target_;
  int quality_;
  FrameRows frame_;  // the size and layout of the frames; no pixels
  std::vector<std::uint8_t> jpeg_;
};

}  // namespace media
