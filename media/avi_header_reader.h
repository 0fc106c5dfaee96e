#pragma once
// Reads the headers of an AVI file: the main header's buffer size and each stream's header,
// format and name. Every size in the file is checked against what is really there.

#include <cstdint>
#include <vector>

#include "media/avi_error.h"
#include "media/avi_types.h"

namespace media {

struct AVIStreamHeaders {
  AVIStreamInfo info;
  std::vector<std::uint8_t> format;
};

struct AVIFileHeaders {
  std::uint32_t suggested_buffer_size = 0;
  std::vector<AVIStreamHeaders> streams;
};

// AVIERR_FILEREAD when Fd cannot be read, AVIERR_BADFORMAT when it holds no AVI headers.
AVIResult ReadAVIHeaders(int fd, AVIFileHeaders& out);

}  // namespace media
