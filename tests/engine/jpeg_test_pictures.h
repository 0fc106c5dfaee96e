#pragma once
// Pictures made for the tests: bitmaps filled by a function, encoded as JPEG bytes.

#include "engine/bitmap.h"

#include <cstdint>
#include <functional>
#include <string>

namespace testpictures {

// A 24-bit bitmap whose pixel (x, y) is colour(x, y) as 0xBBGGRR.
engine::Bitmap MakeBitmap(int width, int height, const std::function<std::uint32_t(int x, int y)>& colour);
// An 8-bit bitmap whose pixel (x, y) is grey(x, y).
engine::Bitmap MakeGrey(int width, int height, const std::function<std::uint8_t(int x, int y)>& grey);

// JPEG bytes of a 24-bit (colour) or 8-bit (grey) bitmap. Without the JFIF header the data
// starts FF D8 FF DB, as bare stream frames do.
std::string EncodeJpeg(const engine::Bitmap& bitmap, int quality = 95, bool jfif = true);

// How a colour picture's chroma is sampled and how its scans are laid out.
struct JpegLayout {
    int quality = 95;
    bool progressive = false;
    int chromaColumns = 2;  // luma samples across per chroma sample: 2 and 2 is 4:2:0, 2 and 1 is 4:2:2
    int chromaRows = 2;
};
std::string EncodeJpeg(const engine::Bitmap& bitmap, const JpegLayout& layout);

// The JPEG bytes with the size in their baseline frame header replaced: a header that claims
// a size its data does not hold.
std::string WithClaimedSize(std::string jpeg, int width, int height);

// A grey 320 x 240 JPEG with `squares` bright squares in one row on a dark background: each
// picture has other bytes, and at quarter size each square is the inside of one 4-pixel motion
// block, so one more square is one more changed block.
std::string SquaresPicture(int squares);

}  // namespace testpictures
