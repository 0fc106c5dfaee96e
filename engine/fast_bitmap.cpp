#include "engine/fast_bitmap.h"

#include <stdexcept>

namespace engine {

void tfastbm::Attach(Bitmap* bitmap) {
    if (bitmap == nullptr)
        throw std::runtime_error("Nil pointer to bitmap");
    int bytesPerPixel = 0;
    if (bitmap->bitsPerPixel() == 24)
        bytesPerPixel = 3;
    else if (bitmap->bitsPerPixel() == 8)
        bytesPerPixel = 1;
    else
        throw std::runtime_error("Not 24 bit bitmap");
    if (bitmap->height() > kFastBitmapMaxRows)
        throw std::runtime_error("Bitmap too big for this operation");
    FBitmap = bitmap;
    FBytesPerPixel = bytesPerPixel;
    for (int y = 0; y < bitmap->height(); ++y)
        FScanLines[static_cast<std::size_t>(y)] = bitmap->row(y);
}

}  // namespace engine
