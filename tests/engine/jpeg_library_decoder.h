#pragma once
// libjpeg-turbo called directly with the options of a JpegDecodeOptions: the reference that the
// engine's decoder must match byte for byte, and the anchor of its speed. It shares no code
// with the decoder on purpose. One decompressor serves every picture, as a program decoding
// many pictures would keep it. Not for broken data: a library error ends the program.

#include "engine/jpeg_decoder.h"

#include <cstddef>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace testpictures {

class LibraryDecoder {
public:
    LibraryDecoder();
    ~LibraryDecoder();
    LibraryDecoder(const LibraryDecoder&) = delete;
    LibraryDecoder& operator=(const LibraryDecoder&) = delete;

    struct Result {
        int width = 0;
        int height = 0;
        int bytesPerPixel = 0;
        bool prematureEnd = false;  // the data ended before the picture did
    };
    // Decodes into `out` (`capacity` bytes), rows packed top-down, every row pointer handed to
    // the library at once. std::length_error when the picture does not fit.
    Result Decode(const std::string& bytes, const engine::JpegDecodeOptions& options, unsigned char* out,
                  std::size_t capacity);

private:
    struct Errors {
        jpeg_error_mgr pub;  // first, so the library's pointer is ours too
        bool prematureEnd = false;
    };
    static void OnMessage(j_common_ptr cinfo, int level);

    jpeg_decompress_struct cinfo_{};
    Errors errors_{};
    std::vector<JSAMPROW> rows_;
};

}  // namespace testpictures
