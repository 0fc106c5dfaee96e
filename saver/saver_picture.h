#pragma once
// Decoding a JPEG for the screen saver through the engine's JPEG layer.

#include <QImage>

#include <string>

namespace saver {

// The picture, or a null image when the bytes are not a JPEG that decodes.
QImage DecodePicture(const std::string& bytes);
QImage LoadPictureFile(const std::string& path);

}  // namespace saver
