#pragma once
// The calls into libjpeg-turbo. A decoder error inside the C library jumps back out of it
// (longjmp to the call's own frame), and is thrown as JpegError only once the library's state
// is released, so no C++ exception ever crosses a C frame.

#include "engine/bitmap.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace engine {

struct JpegDecodeOptions {
    int scaleDenominator = 1;  // 1, 2, 4 or 8
    bool grey = false;         // 8-bit grey output instead of 24-bit B, G, R
    bool fast = false;         // fast integer DCT, no smooth upsampling
};

struct JpegSize {
    int width = 0;
    int height = 0;
};

// The output size at the given scale, from the header alone.
JpegSize ReadJpegSize(const std::uint8_t* data, std::size_t size, const JpegDecodeOptions& options);

// Decodes into out (resized to the output size). Returns true when the data ended before the
// picture did (the missing rows are the decoder's grey fill).
bool DecodeJpeg(const std::uint8_t* data, std::size_t size, const JpegDecodeOptions& options, Bitmap& out);

// One pass over the data for both of the decodes a new picture needs at one scale: colour
// (24-bit) and grey (8-bit), each pixel for pixel what DecodeJpeg gives with those options
// (options.grey is not looked at). A YCbCr picture, the usual kind, is decoded once as YCbCr:
// its luminance is the grey decode (which reads only that channel) and its colour is converted
// here with the library's own fixed-point formulas. Returns true when the data ended early, as
// DecodeJpeg does; none, with nothing decoded, for any other kind of picture.
std::optional<bool> DecodeJpegColourAndGrey(const std::uint8_t* data, std::size_t size, const JpegDecodeOptions& options,
                             Bitmap& colour, Bitmap& grey);

// Pictures larger than this many pixels after scaling are refused before any memory is taken.
inline constexpr std::int64_t kMaxJpegPixels = 64LL * 1024 * 1024;

// A thumbnail is drawn only of a picture of at most this many pixels at full size: a header
// that claims more (65 500 x 65 500) is refused before anything is decoded, at any scale.
inline constexpr std::int64_t kMaxThumbnailPixels = 64LL * 1024 * 1024;

// The full size from the header of a picture a thumbnail is to be drawn of; JpegError when the
// header does not read or claims more than kMaxThumbnailPixels.
JpegSize ReadThumbnailSourceSize(const std::uint8_t* data, std::size_t size);

}  // namespace engine
