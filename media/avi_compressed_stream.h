#pragma once
// The compressors a stream can be written through.

#include <memory>

#include "media/avi_handles.h"
#include "media/avi_types.h"

namespace media {

// A stream that compresses what is written to it into Target, by Options' compressor: Motion-JPEG
// ('MJPG') for video streams. AVIERR_NOCOMPRESSOR for a compressor we do not have,
// AVIERR_UNSUPPORTED for a stream that is not video.
AVIResult MakeCompressedStream(const std::shared_ptr<AVIStreamHandle>& target, const AVICompressOptions& options,
                               std::shared_ptr<AVIStreamHandle>& out);

}  // namespace media
