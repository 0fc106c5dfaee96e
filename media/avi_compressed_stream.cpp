#include "media/avi_compressed_stream.h"

#include <cctype>

#include "media/mjpeg_stream.h"

namespace media {

namespace {

FourCC UpperCase(FourCC code) {
  FourCC out = 0;
  for (int i = 0; i < 4; ++i)
    out |= FourCC(std::toupper(static_cast<unsigned char>(code >> (8 * i)))) << (8 * i);
  return out;
}

}  // namespace

AVIResult MakeCompressedStream(const std::shared_ptr<AVIStreamHandle>& target, const AVICompressOptions& options,
                               std::shared_ptr<AVIStreamHandle>& out) {
  if (!target) return AVIERR_BADHANDLE;
  if (UpperCase(options.fccHandler) != kMotionJPEG) return AVIERR_NOCOMPRESSOR;
  if (target->Info().fccType != streamtypeVIDEO) return AVIERR_UNSUPPORTED;
  out = std::make_shared<MJPEGStream>(target, options.dwQuality);
  return AVIERR_OK;
}

}  // namespace media
