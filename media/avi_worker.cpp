#include "media/avi_worker.h"

#include "media/avi_compressed_stream.h"
#include "media/mjpeg_stream.h"

namespace media {

TMMAVIVideoWorker::TMMAVIVideoWorker(TMMAVIStream& stream, const AVICompressOptions* options) {
  if (options == nullptr || options->fccHandler == 0) {
    stream_ = AVIRef<TMMAVIStream>::Share(&stream);
    return;
  }
  std::shared_ptr<AVIStreamHandle> compressed;
  Check(MakeCompressedStream(stream.SharedHandle(), *options, compressed));
  stream_ = AVIRef<TMMAVIStream>::Adopt(new TMMAVIStream(std::move(compressed)));
}

void TMMAVIVideoWorker::WriteFrame(int index, const PackedDIB& dib) {
  AVIStreamHandle& handle = stream_->Handle();
  Check(handle.SetFormat(index, {dib.Data(), dib.FormatSize()}));
  const std::uint32_t sample_size = handle.Info().dwSampleSize;
  const auto samples = static_cast<std::int32_t>(sample_size == 0 ? 1 : dib.ImageSize() / sample_size);
  Check(handle.Write(index, samples, {dib.Bits(), dib.ImageSize()}, AVIIF_KEYFRAME));
}

bool TMMAVIVideoWorker::TakesJPEG() const { return dynamic_cast<MJPEGStream*>(&stream_->Handle()) != nullptr; }

void TMMAVIVideoWorker::WriteJPEGFrame(int index, int width, int height, std::span<const std::uint8_t> jpeg) {
  auto* mjpeg = dynamic_cast<MJPEGStream*>(&stream_->Handle());
  if (mjpeg == nullptr) Check(AVIERR_UNSUPPORTED);
  const PackedDIB format = PackedDIB::Create(24, kBottomUp, width, height, false);
  Check(mjpeg->SetFormat(index, {format.Data(), format.FormatSize()}));
  Check(mjpeg->WriteJPEG(index, jpeg, AVIIF_KEYFRAME));
}

}  // namespace media
