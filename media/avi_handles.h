#pragma once
// The AVI file and stream handles under the AVI components: an open file, written or read, and its
// streams. Each stream holds its file, so the file is finished when the last holder lets it go
// (or earlier, by Finish). Results are AVIResult codes; the components Check them.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "media/avi_error.h"
#include "media/avi_header_reader.h"
#include "media/avi_riff_writer.h"
#include "media/avi_types.h"

namespace media {

// Open modes: one access, one share mode, and OF_CREATE.
constexpr unsigned OF_READ = 0x0;
constexpr unsigned OF_WRITE = 0x1;
constexpr unsigned OF_READWRITE = 0x2;
constexpr unsigned OF_SHARE_EXCLUSIVE = 0x10;
constexpr unsigned OF_SHARE_DENY_WRITE = 0x20;
constexpr unsigned OF_SHARE_DENY_READ = 0x30;
constexpr unsigned OF_SHARE_DENY_NONE = 0x40;
constexpr unsigned OF_CREATE = 0x1000;

class AVIStreamHandle {
 public:
  virtual ~AVIStreamHandle() = default;
  virtual AVIStreamInfo Info() const = 0;
  virtual std::vector<std::uint8_t> Format() const = 0;
  virtual AVIResult SetFormat(std::int32_t position, std::span<const std::uint8_t> format) = 0;
  // Writes Samples samples from Start; Flags may hold AVIIF_KEYFRAME.
  virtual AVIResult Write(std::int32_t start, std::int32_t samples, std::span<const std::uint8_t> data,
                          std::uint32_t flags) = 0;
};

class AVIFileHandle : public std::enable_shared_from_this<AVIFileHandle> {
 public:
  // With OF_CREATE, a new empty file for writing, whatever the access asked for (creating a file
  // only to read it makes no sense); without, an existing AVI file opened for reading. The share
  // mode becomes an advisory lock of the file: exclusive for "exclusive" and "deny read", shared
  // for "deny write". A file created for writing is refused a frame that would take it past
  // MaxFileSize.
  static AVIResult Open(const std::string& path, unsigned mode, std::shared_ptr<AVIFileHandle>& out,
                        std::uint64_t max_file_size = kAVIMaxFileSize);
  ~AVIFileHandle();
  AVIFileHandle(const AVIFileHandle&) = delete;
  AVIFileHandle& operator=(const AVIFileHandle&) = delete;

  bool Writing() const { return writer_ != nullptr; }
  // The main header's suggested buffer size of a file opened for reading.
  std::uint32_t SuggestedBufferSize() const { return headers_.suggested_buffer_size; }

  // Stream Index; AVIERR_NODATA past the last one.
  AVIResult GetStream(int index, std::shared_ptr<AVIStreamHandle>& out);
  // A new stream of a file created for writing (AVIERR_READONLY otherwise).
  AVIResult CreateStream(const AVIStreamInfo& info, std::shared_ptr<AVIStreamHandle>& out);

  // Finishes a written file now; the first result is kept and returned again.
  AVIResult Finish();

 private:
  class WrittenStream;
  class ReadStream;
  AVIFileHandle() = default;

  std::unique_ptr<AVIRiffWriter> writer_;
  AVIFileHeaders headers_;
  int read_fd_ = -1;
};

}  // namespace media
