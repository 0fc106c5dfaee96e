#include "ui/disk/disk_thumbnail.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <exception>

#include "engine/jpeg_decoder.h"
#include "engine/picture_folder.h"
#include "engine/picture_stream.h"
#include "media/rounding.h"
#include "platform/regular_file.h"

namespace ui {
namespace {

// The box a decoded picture is fitted into, and its ratio.
constexpr int kBoxLeft = 5, kBoxTop = 4, kBoxWidth = 70, kBoxHeight = 55;

engine::Bitmap Stretched(const engine::Bitmap& frame) {
    engine::Bitmap out(kDiskThumbSize, kDiskThumbSize, 24);
    engine::StretchDraw(out, frame);
    return out;
}

DiskThumbnail NoPicture(const ThumbnailFrames& frames) { return {Stretched(frames.noPicture), 0, 0, 0}; }

// The EXIF shortcut: B1 with the small picture in it; false when the file cannot be read so.
bool ExifThumbnail(std::string_view head, const ThumbnailFrames& frames, DiskThumbnail& out) {
    const std::string_view segment = ExifSegment(head);
    if (segment.empty()) return false;
    const bool small = segment.size() < 9601;
    engine::Bitmap picture(small ? 68 : 80, small ? 54 : 60, 24);
    if (!DrawExifPicture(segment, picture)) return false;
    out.bitmap = Stretched(frames.exifFrame);
    const engine::Rect place = small ? engine::Rect{6, 4, 74, 58} : engine::Rect{4, 4, 76, 58};
    engine::StretchDraw(out.bitmap, place, picture);
    out.kind = 1;
    return true;
}

}  // namespace

bool IsExifHead(std::string_view head) {
    if (head.size() < 10) return false;
    std::string tag(head.substr(6, 4));
    for (char& c : tag) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return tag == "EXIF";
}

// Only the head is read, from a file that would pass as a picture.
bool IsExifJpeg(const std::string& path) {
    struct stat st {};
    const int fd = platform::OpenRegularFile(path, engine::kMaxPictureBytes, st);
    if (fd < 0) return false;
    char head[10];
    const ssize_t n = pread(fd, head, sizeof head, 0);
    close(fd);
    return n > 0 && IsExifHead(std::string_view(head, static_cast<std::size_t>(n)));
}

std::string_view ExifSegment(std::string_view head) {
    if (!IsExifHead(head)) return {};
    const std::size_t length =
        static_cast<std::size_t>(static_cast<unsigned char>(head[4])) << 8 | static_cast<unsigned char>(head[5]);
    if (length == 0 || 4 + length > head.size()) return {};
    return head.substr(4, length);
}

bool DrawExifPicture(std::string_view segment, engine::Bitmap& target) {
    static constexpr std::string_view kJpegStart("\xFF\xD8\xFF\xDB", 4);
    const std::size_t start = segment.find(kJpegStart);
    if (start != std::string_view::npos) {
        const std::string_view jpeg = segment.substr(start);
        engine::Bitmap picture;
        try {
            engine::JpegDecodeOptions options;
            options.fast = true;
            engine::DecodeJpeg(reinterpret_cast<const std::uint8_t*>(jpeg.data()), jpeg.size(), options, picture);
        } catch (const std::exception&) {
            return false;
        }
        if (picture.empty()) return false;
        engine::StretchDraw(target, picture);
        return true;
    }
    if (segment.size() <= engine::kRawFrameBytes) return false;
    engine::LoadStreamPicture(segment, target);  // the raw frame
    return true;
}

ThumbnailDecode DecodeForThumbnail(std::string_view jpeg) {
    const auto* data = reinterpret_cast<const std::uint8_t*>(jpeg.data());
    const engine::JpegSize full = engine::ReadThumbnailSourceSize(data, jpeg.size());
    // The scale the 1/8, 1/4, full-size sequence stops at, told by the header (the decoder's
    // size at 1/d is the full size divided by d, rounded up): one decode, never a larger one.
    ThumbnailDecode out;
    for (int divisor : {8, 4, 1}) {
        out.divisor = divisor;
        if (!((full.width + divisor - 1) / divisor < 60 && (full.height + divisor - 1) / divisor < 45)) break;
    }
    engine::JpegDecodeOptions options;
    options.fast = true;
    options.scaleDenominator = out.divisor;
    engine::DecodeJpeg(data, jpeg.size(), options, out.picture);
    out.fullWidth = out.picture.width() * out.divisor;
    out.fullHeight = out.picture.height() * out.divisor;
    return out;
}

engine::Rect ThumbnailFitRect(int width, int height) {
    engine::Rect box{kBoxLeft, kBoxTop, kBoxLeft + kBoxWidth, kBoxTop + kBoxHeight};
    if (width <= 0 || height <= 0) return box;
    // P against R = 70/55, compared exactly in integers: P < R  <=>  w * 55 < 70 * h.
    const long long wide = static_cast<long long>(width) * kBoxHeight, tall = static_cast<long long>(kBoxWidth) * height;
    if (wide < tall) {
        const int w = static_cast<int>(media::RoundHalfEven(static_cast<std::int64_t>(kBoxHeight) * width, height));
        const int offset = (kBoxWidth - w) / 2;
        box.left = kBoxLeft + offset;
        box.right = box.left + w;
    } else if (wide > tall) {
        const int h = static_cast<int>(media::RoundHalfEven(static_cast<std::int64_t>(kBoxWidth) * height, width));
        const int offset = (kBoxHeight - h) / 2;
        box.top = kBoxTop + offset;
        box.bottom = box.top + h;
    }
    return box;
}

DiskThumbnail MakeJpegThumbnailFromBytes(std::string_view bytes, const ThumbnailFrames& frames) {
    DiskThumbnail out;
    if (ExifThumbnail(bytes.substr(0, kExifHeadBytes), frames, out)) return out;
    try {
        ThumbnailDecode decoded = DecodeForThumbnail(bytes);
        out.bitmap = Stretched(frames.jpegFrame);
        engine::StretchDraw(out.bitmap, ThumbnailFitRect(decoded.picture.width(), decoded.picture.height()),
                            decoded.picture);
        out.kind = 2;
        out.fullWidth = decoded.fullWidth;
        out.fullHeight = decoded.fullHeight;
        return out;
    } catch (const std::exception&) {
        return NoPicture(frames);
    }
}

DiskThumbnail MakeJpegThumbnail(const std::string& path, const ThumbnailFrames& frames) {
    std::string bytes;
    if (!engine::ReadPictureFile(path, bytes)) return NoPicture(frames);
    return MakeJpegThumbnailFromBytes(bytes, frames);
}

}  // namespace ui
