#pragma once
// JPEG encoding of a 24-bit frame with libjpeg-turbo: the Motion-JPEG compressor's one step.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace media {

class EMJPEGError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A frame's rows as a packed DIB holds them: B, G, R per pixel, rows of RowSize bytes.
struct FrameRows {
  const std::uint8_t* bits = nullptr;
  int width = 0;
  int height = 0;
  std::size_t row_size = 0;
  bool bottom_up = true;
};

constexpr int kDefaultJPEGQuality = 85;

// A baseline JFIF picture at Quality (1..100), into Out (replaced). Raises EMJPEGError with the
// library's message; the library never ends the program.
void EncodeJPEG(const FrameRows& frame, int quality, std::vector<std::uint8_t>& out);

}  // namespace media
