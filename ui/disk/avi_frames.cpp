#include "ui/disk/avi_frames.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "engine/bitmap_draw.h"
#include "engine/jpeg_decoder.h"
#include "engine/jpeg_picture.h"
#include "platform/fd_io.h"

namespace ui {
namespace {

// Larger files are taken for something else than a picture, not read into memory.
constexpr off_t kMaxPictureFileSize = off_t(256) << 20;

// The whole of a regular file, in one read into memory kept from the previous file.
bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= kMaxPictureFileSize;
    if (ok) {
        bytes.resize(static_cast<std::size_t>(st.st_size));
        ok = platform::PreadAll(fd, bytes.data(), bytes.size(), 0);
    }
    ::close(fd);
    return ok;
}

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
        if (!ReadWholeFile(FPaths.at(static_cast<std::size_t>(index)), FBytes))
            throw UnreadablePicture(FPaths[static_cast<std::size_t>(index)]);
        FBytesIndex = index;
    }
    return FBytes;
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
