#pragma once
// Whether a JPEG picture can go into a Motion-JPEG movie as its bytes are, without being decoded
// and encoded again.

#include <cstdint>
#include <span>

namespace media {

// True when Jpeg is a baseline colour JPEG (8-bit Huffman-coded YCbCr, the kind the Motion-JPEG
// compressor writes and players expect) of exactly Width x Height pixels whose data decodes to
// its end without any error or warning: a picture cut short or with a corrupt segment is false.
// The check runs the whole entropy-coded data through the decoder's Huffman decoding but stops
// at the coefficients: as strict as a full decode (nothing after that stage can fail or warn) at a
// fraction of its cost.
bool JPEGFitsFrame(std::span<const std::uint8_t> jpeg, int width, int height);

}  // namespace media
