#include "ui/grid/bitmap_image.h"

namespace ui {

QImage ImageOfBitmap(const engine::Bitmap& bitmap) {
    if (bitmap.empty()) return {};
    const QImage::Format format = bitmap.bitsPerPixel() == 24 ? QImage::Format_BGR888 : QImage::Format_Grayscale8;
    return QImage(bitmap.data(), bitmap.width(), bitmap.height(), static_cast<qsizetype>(bitmap.stride()), format)
        .copy();
}

}  // namespace ui
