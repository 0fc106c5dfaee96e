#include "saver/saver_picture.h"

#include "engine/jpeg_decoder.h"
#include "engine/picture_folder.h"

#include <exception>

namespace saver {

QImage DecodePicture(const std::string& bytes) {
    engine::Bitmap bitmap;
    try {
        const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
        engine::DecodeJpeg(data, bytes.size(), {}, bitmap);  // a picture cut short shows its grey fill
    } catch (const std::exception&) {
        return {};
    }
    if (bitmap.empty() || bitmap.bitsPerPixel() != 24) return {};
    return QImage(bitmap.data(), bitmap.width(), bitmap.height(), static_cast<qsizetype>(bitmap.stride()),
                  QImage::Format_BGR888)
        .copy();
}

QImage LoadPictureFile(const std::string& path) {
    std::string bytes;
    if (!engine::ReadPictureFile(path, bytes)) return {};
    return DecodePicture(bytes);
}

}  // namespace saver
