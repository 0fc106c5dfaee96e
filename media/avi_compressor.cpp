#include "media/avi_compressor.h"

namespace media {

AVICompressOptions DefaultCompressOptions(FourCC type, const std::vector<std::uint8_t>& format) {
  AVICompressOptions o;
  o.fccType = type;
  if (type == streamtypeVIDEO) {
    o.dwKeyFrameEvery = 7;
    o.dwQuality = ICQUALITY_DEFAULT;
    o.dwBytesPerSecond = 60000;
    o.dwFlags = AVICOMPRESSF_INTERLEAVE | AVICOMPRESSF_DATARATE | AVICOMPRESSF_KEYFRAMES | AVICOMPRESSF_VALID;
    o.dwInterleaveEvery = 5;
  } else if (type == streamtypeAUDIO) {
    o.dwFlags = AVICOMPRESSF_INTERLEAVE | AVICOMPRESSF_VALID;
    o.dwInterleaveEvery = 5;
    o.lpFormat = format;
  }
  return o;
}

void TMMAVICompressor::AddStream(TMMAVIStream& stream) {
  const AVIStreamInfo info = stream.Info();
  options_.push_back(DefaultCompressOptions(info.fccType, info.fccType == streamtypeAUDIO ? stream.Format()
                                                                                          : std::vector<std::uint8_t>{}));
  streams_.push_back(AVIRef<TMMAVIStream>::Share(&stream));
}

bool TMMAVICompressor::Choose() {
  if (!chooser_) return true;
  const unsigned flags = (choose_key_frame_ ? ICMF_CHOOSE_KEYFRAME : 0) | (choose_data_rate_ ? ICMF_CHOOSE_DATARATE : 0) |
                         (choose_preview_ ? ICMF_CHOOSE_PREVIEW : 0);
  return chooser_(options_, flags);
}

AVICompressOptions* TMMAVICompressor::GetOptions(int index) {
  if (index < 0 || index >= static_cast<int>(options_.size())) return nullptr;
  return &options_[std::size_t(index)];
}

void TMMAVICompressor::Close() {
  streams_.clear();
  options_.clear();
}

}  // namespace media
