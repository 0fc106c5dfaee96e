#include "ui/disk/avi_frames.h"

#include "engine/bitmap_draw.h"
#include "engine/jpeg_decoder.h"
#include "engine/jpeg_picture.h"
#include "engine/picture_folder.h"

namespace ui {
namespace {

media::BitmapRows RowsOf(const engine::Bitmap& bitmap) {
    return {bitmap.width(), bitmap.height(), 24, [&bitmap](int y) { return bitmap.row(y); }};
}

}  // namespace

AviFrames::AviFrames(std::vector<std::string> paths) : FPaths(std::move(paths)) {
    Decode(0);
    FFrame.Resize(FDecoded.width(), FDecoded.height(), 24);
}

std::span<const std::uint8_t> AviFrames::Bytes(int index) {
    if (index != FBytesIndex) {
        FBytesIndex = -1;
        if (!engine::ReadPictureFile(FPaths.at(static_cast<std::size_t>(index)), FBytes))
            throw UnreadablePicture(FPaths[static_cast<std::size_t>(index)]);
        FBytesIndex = index;
    }
    return {reinterpret_cast<const std::uint8_t*>(FBytes.data()), FBytes.size()};
}

void AviFrames::Decode(int index) {
    if (index == FDecodedIndex)
        return;
    const std::span<const std::uint8_t> bytes = Bytes(index);
    FDecodedIndex = -1;
    try {
        // A picture cut short decodes as far as it goes, the rest grey, as the viewer shows it.
        engine::DecodeJpeg(bytes.data(), bytes.size(), {}, FDecoded);
    } catch (const engine::JpegError&) {
        throw UnreadablePicture(FPaths[static_cast<std::size_t>(index)]);
    }
    if (FDecoded.empty())
        throw UnreadablePicture(FPaths[static_cast<std::size_t>(index)]);
    FDecodedIndex = index;
}

media::BitmapRows AviFrames::Frame(int index) {
    Decode(index);
    if (FDecoded.width() == FFrame.width() && FDecoded.height() == FFrame.height())
        return RowsOf(FDecoded);
    engine::StretchDraw(FFrame, FDecoded);  // another size is scaled to the first picture's
    return RowsOf(FFrame);
}

media::MovieJPEGPictures AviFrames::JpegPictures() {
    return {Width(), Height(), [this](int index) { return Bytes(index); }};
}

}  // namespace ui
