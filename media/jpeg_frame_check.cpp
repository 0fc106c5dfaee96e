#include "media/jpeg_frame_check.h"

#include <csetjmp>
#include <cstdio>
// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

namespace media {

namespace {

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

void OnError(j_common_ptr info) { std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1); }

// Counts warnings (a premature end, corrupt data) without printing them.
void OnMessage(j_common_ptr info, int level) {
  if (level < 0) ++info->err->num_warnings;
}

// Each component's sampling a whole fraction of the largest: the decoder cannot upsample any
// other, and checking at the coefficients never comes to upsampling.
bool WholeSamplingRatios(const jpeg_decompress_struct& info) {
  for (int c = 0; c < info.num_components; ++c)
    if (info.max_h_samp_factor % info.comp_info[c].h_samp_factor != 0 ||
        info.max_v_samp_factor % info.comp_info[c].v_samp_factor != 0)
      return false;
  return true;
}

// No C++ object lives between setjmp and a jump here.
bool Check(const std::uint8_t* data, std::size_t size, int width, int height) {
  jpeg_decompress_struct info{};
  ErrorManager err{};
  info.err = jpeg_std_error(&err.base);
  err.base.error_exit = OnError;
  err.base.emit_message = OnMessage;
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
  bool fits = jpeg_read_header(&info, TRUE) == JPEG_HEADER_OK && !info.progressive_mode && !info.arith_code &&
              info.data_precision == 8 && info.num_components == 3 && info.jpeg_color_space == JCS_YCbCr &&
              info.image_width == JDIMENSION(width) && info.image_height == JDIMENSION(height) &&
              WholeSamplingRatios(info);
  if (fits) {
    // Entropy decoding of every scan to the end marker, with no inverse DCT, upsampling or colour
    // conversion: whatever can be wrong in the data is met here.
    jpeg_read_coefficients(&info);
    jpeg_finish_decompress(&info);
    fits = info.err->num_warnings == 0;
  }
  jpeg_destroy_decompress(&info);
  return fits;
}

}  // namespace

bool JPEGFitsFrame(std::span<const std::uint8_t> jpeg, int width, int height) {
  if (jpeg.empty() || width <= 0 || height <= 0) return false;
  return Check(jpeg.data(), jpeg.size(), width, height);
}

}  // namespace media
