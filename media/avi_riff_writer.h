#pragma once
// Writes an AVI 1.0 file: the frames go into 'movi' as they come, each followed by the headers
// (in the room kept for them at the start) of a file without an index that ends after it, so a
// writer that is killed leaves a readable movie of the frames so far. Finish adds the index and
// only then marks the file as indexed; an index that cannot be written is cut off again. Every
// step that fails leaves what was written before it intact. A chunk that would take the
// finished file past the size limit is refused with AVIERR_FILEWRITE.

#include <cstdint>
#include <span>
#include <vector>

#include "media/avi_error.h"
#include "media/avi_types.h"

namespace media {

// The classic limit of an AVI 1.0 file.
constexpr std::uint64_t kAVIMaxFileSize = std::uint64_t(1) << 30;

class AVIRiffWriter {
 public:
  // Takes ownership of Fd, a file opened for writing and empty.
  AVIRiffWriter(int fd, std::uint64_t max_file_size);
  ~AVIRiffWriter();
  AVIRiffWriter(const AVIRiffWriter&) = delete;
  AVIRiffWriter& operator=(const AVIRiffWriter&) = delete;

  // Streams can be added until the first chunk is written (AVIERR_UNSUPPORTED after).
  AVIResult AddStream(const AVIStreamInfo& info, int& index);
  int StreamCount() const { return static_cast<int>(streams_.size()); }
  // The header as it will be written, with the length and buffer size counted so far.
  AVIStreamInfo Info(int stream) const;
  const std::vector<std::uint8_t>& Format(int stream) const { return streams_[std::size_t(stream)].format; }

  // A stream's format can be set freely before its first chunk; after, setting the same format
  // again passes and another one is AVIERR_UNSUPPORTED. Only the start position is kept: a
  // format change inside a stream is not something AVI 1.0 can hold.
  AVIResult SetFormat(int stream, std::int32_t position, std::span<const std::uint8_t> format);
  // Appends one sample at Position, which must be the stream's length (AVIERR_BADPARAM else).
  AVIResult Write(int stream, std::int32_t position, std::span<const std::uint8_t> data, std::uint32_t flags);

  // Writes the index and the headers and closes the file; later calls return the first result.
  // A video stream without a format gets a 1 × 1 one of its kind, so the file stays readable.
  AVIResult Finish();

 private:
  struct Stream {
    AVIStreamInfo info;
    std::vector<std::uint8_t> format;
    std::uint32_t max_chunk = 0;
  };
  struct IndexEntry {
    FourCC id;
    std::uint32_t flags;
    std::uint32_t offset;  // from the 'movi' code
    std::uint32_t size;
  };

  // Fixes where 'movi' starts: after the headers, with room for formats not yet known.
  void ReserveHeaders();
  // The RIFF header and 'hdrl'; with Placeholders, a format not yet known takes its room.
  std::vector<std::uint8_t> Headers(bool placeholders, bool indexed) const;
  // Writes the headers, the JUNK up to 'movi' and the 'movi' list's header, for a file that
  // ends at File_end (the frames written, and with Indexed the index after them).
  AVIResult WriteHeaders(std::uint64_t file_end, bool indexed);
  std::vector<std::uint8_t> StreamHeader(const Stream& s, std::size_t number, bool placeholders) const;
  FourCC ChunkId(int stream) const;
  AVIResult WriteAt(std::uint64_t offset, std::span<const std::uint8_t> bytes);
  void Close();

  int fd_;
  std::uint64_t max_file_size_;
  std::vector<Stream> streams_;
  std::vector<IndexEntry> index_;
  std::uint64_t movi_start_ = 0;  // the 'LIST' of 'movi'; 0 until reserved
  std::uint64_t end_ = 0;         // end of the last chunk
  bool finished_ = false;
  AVIResult finish_result_ = AVIERR_OK;
};

}  // namespace media
