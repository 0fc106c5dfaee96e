#pragma once
// The 80 x 80 thumbnail of a saved picture on the disk page: the EXIF shortcut (a small picture
// kept in the file's first segment), else a scaled decode fitted into the frame's box. No Qt;
// main thread (or any one thread per call).

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/bitmap.h"
#include "engine/bitmap_draw.h"

namespace ui {

inline constexpr int kDiskThumbSize = 80;
// How much of a file the EXIF shortcut reads.
inline constexpr std::size_t kExifHeadBytes = 20480;

// Bytes 7 to 10 of the file, upper-cased, read "EXIF".
bool IsExifJpeg(const std::string& path);
bool IsExifHead(std::string_view head);

// The first segment of an EXIF file: the L bytes from offset 4, L being the big-endian 16-bit
// number there. Empty when head is no EXIF head, or when that segment does not lie wholly
// within head (a short file, or a length that lies).
std::string_view ExifSegment(std::string_view head);

// Draws the small picture held in an EXIF segment over target: an embedded JPEG (from its
// FF D8 FF DB start), else a raw 80 x 60 frame in its last 9600 bytes. False when the segment
// holds neither, or its JPEG does not decode; target is then untouched.
bool DrawExifPicture(std::string_view segment, engine::Bitmap& target);

// A picture decoded for its thumbnail: at 1/8, and again at 1/4 and then at full size while
// the result is narrower than 60 and lower than 45 (the scale is chosen from the header, and
// only that decode made); the full size is the decoded size times the scale's divisor. Throws
// engine::JpegError (or std::exception) when it does not decode or is past
// engine::kMaxThumbnailPixels.
struct ThumbnailDecode {
    engine::Bitmap picture;
    int divisor = 8;
    int fullWidth = 0;
    int fullHeight = 0;
};
ThumbnailDecode DecodeForThumbnail(std::string_view jpeg);

// Where a width x height picture is drawn in the thumbnail: fitted into the box
// (5, 4)-(75, 59), centred along the side with room to spare.
engine::Rect ThumbnailFitRect(int width, int height);

// The frames a thumbnail is drawn on (see FrameBitmaps).
struct ThumbnailFrames {
    const engine::Bitmap& exifFrame;   // B1
    const engine::Bitmap& jpegFrame;   // B2
    const engine::Bitmap& noPicture;   // B5, for a picture that does not decode
};

struct DiskThumbnail {
    engine::Bitmap bitmap;  // 80 x 80, 24 bits
    std::uint8_t kind = 0;  // 1 from the EXIF shortcut, 2 decoded, 0 the no-picture frame
    int fullWidth = 0;
    int fullHeight = 0;
};

// The thumbnail of the JPEG file at path: never throws for a file that is missing, short or
// not a picture (it gets the no-picture frame).
DiskThumbnail MakeJpegThumbnail(const std::string& path, const ThumbnailFrames& frames);
// The same from the file's bytes.
DiskThumbnail MakeJpegThumbnailFromBytes(std::string_view bytes, const ThumbnailFrames& frames);

}  // namespace ui
