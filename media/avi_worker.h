#pragma once
// Workers on one stream: the video worker writes packed DIBs as frames, through the compressor
// the options name, every frame a key frame.

#include <span>

#include "media/avi_object.h"
#include "media/packed_dib.h"

namespace media {

class TMMAVIStreamWorker : public TMMObject {
 public:
  // Holds a reference of Stream until destroyed.
  explicit TMMAVIStreamWorker(TMMAVIStream& stream) : stream_(AVIRef<TMMAVIStream>::Share(&stream)) {}

  TMMAVIStream& Stream() const { return *stream_; }

 protected:
  TMMAVIStreamWorker() = default;
  AVIRef<TMMAVIStream> stream_;
};

class TMMAVIVideoWorker : public TMMAVIStreamWorker {
 public:
  // With a compressor in Options (fccHandler not 0) the frames go through a compressed stream
  // over Stream; without, or with no options, they are written as they are.
  TMMAVIVideoWorker(TMMAVIStream& stream, const AVICompressOptions* options);

  // Sets the stream's format at Index to Dib's header and colour table, then writes its pixels at
  // Index as a key frame.
  void WriteFrame(int index, const PackedDIB& dib);

  // True when the frames go through the Motion-JPEG compressor, which also takes pictures that
  // are JPEG already.
  bool TakesJPEG() const;
  // Writes Jpeg, a JPEG picture of Width x Height, as the frame at Index byte for byte (a key
  // frame); the stream's format is that of a 24-bit frame of this size. Only when TakesJPEG.
  void WriteJPEGFrame(int index, int width, int height, std::span<const std::uint8_t> jpeg);
};

}  // namespace media
