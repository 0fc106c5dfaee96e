#include "media/mjpeg_encoder.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

namespace media {

namespace {

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void OnError(j_common_ptr info) {
  auto* err = reinterpret_cast<ErrorManager*>(info->err);
  (*info->err->format_message)(info, err->message);
  std::longjmp(err->jump, 1);
}

// No C++ object lives between setjmp and a jump here; the caller throws once the library is
// released. Returns nullptr on success, else the library's message.
const char* Compress(const FrameRows& frame, int quality, JSAMPROW* rows, unsigned char** buffer,
                     unsigned long* size, ErrorManager& err) {
  jpeg_compress_struct info{};
  info.err = jpeg_std_error(&err.base);
  err.base.error_exit = OnError;
  if (setjmp(err.jump)) {
    jpeg_destroy_compress(&info);
    return err.message;
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, buffer, size);
  info.image_width = static_cast<JDIMENSION>(frame.width);
  info.image_height = static_cast<JDIMENSION>(frame.height);
  info.input_components = 3;
  info.in_color_space = JCS_EXT_BGR;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  info.dct_method = JDCT_ISLOW;
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height)
    jpeg_write_scanlines(&info, rows + info.next_scanline, info.image_height - info.next_scanline);
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return nullptr;
}

}  // namespace

void EncodeJPEG(const FrameRows& frame, int quality, std::vector<std::uint8_t>& out) {
  if (frame.bits == nullptr || frame.width <= 0 || frame.height <= 0 || frame.row_size < std::size_t(frame.width) * 3)
    throw EMJPEGError("Bad frame for JPEG encoding");
  std::vector<JSAMPROW> rows(static_cast<std::size_t>(frame.height));
  for (int y = 0; y < frame.height; ++y) {
    const int stored = frame.bottom_up ? frame.height - 1 - y : y;
    rows[std::size_t(y)] = const_cast<JSAMPROW>(frame.bits + std::size_t(stored) * frame.row_size);
  }
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  ErrorManager err{};
  const int q = quality < 1 ? 1 : quality > 100 ? 100 : quality;
  const char* failure = Compress(frame, q, rows.data(), &buffer, &size, err);
  if (failure == nullptr) out.assign(buffer, buffer + size);
  std::free(buffer);
  if (failure != nullptr) throw EMJPEGError(failure);
}

}  // namespace media
