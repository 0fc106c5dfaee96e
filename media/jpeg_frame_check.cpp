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

// A JPEG is at most 65535 pixels wide: at 1/8 scale, at most this many.
constexpr int kMaxScaledWidth = 8192;

// No C++ object lives between setjmp and a jump here. Row must hold 3 bytes for each pixel of a
// scaled row of at most kMaxScaledWidth pixels.
bool Check(const std::uint8_t* data, std::size_t size, int width, int height, JSAMPLE* row) {
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
              info.image_width == JDIMENSION(width) && info.image_height == JDIMENSION(height);
  if (fits) {
    info.scale_num = 1;
    info.scale_denom = 8;
    info.dct_method = JDCT_IFAST;
    info.do_fancy_upsampling = FALSE;
    info.out_color_space = JCS_YCbCr;
    jpeg_start_decompress(&info);
    fits = info.output_width <= JDIMENSION(kMaxScaledWidth);
    while (fits && info.output_scanline < info.output_height) jpeg_read_scanlines(&info, &row, 1);
    if (fits) jpeg_finish_decompress(&info);
    fits = fits && info.err->num_warnings == 0;
  }
  jpeg_destroy_decompress(&info);
  return fits;
}

}  // namespace

bool JPEGFitsFrame(std::span<const std::uint8_t> jpeg, int width, int height) {
  if (jpeg.empty() || width <= 0 || height <= 0) return false;
  JSAMPLE row[3 * kMaxScaledWidth];
  return Check(jpeg.data(), jpeg.size(), width, height, row);
}

}  // namespace media
