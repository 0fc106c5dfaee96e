#pragma once
// The six small pictures of the disk page, drawn in code once, each 80 x 80 on the button face:
// B1 the frame of CAM pictures (and of EXIF thumbnails), B2 the frame of JPEG thumbnails, B3 a
// folder, B4 another file, B5 a JPEG without its thumbnail (yet), B6 the ".." entry.
// Main thread only (QPainter).

#include <array>

#include "engine/bitmap.h"
#include "ui/disk/disk_thumbnail.h"

namespace ui {

struct FrameBitmaps {
    std::array<engine::Bitmap, 6> B;  // B[0] is "B1"
    const engine::Bitmap& CamFrame() const { return B[0]; }
    const engine::Bitmap& JpegFrame() const { return B[1]; }
    const engine::Bitmap& Folder() const { return B[2]; }
    const engine::Bitmap& OtherFile() const { return B[3]; }
    const engine::Bitmap& NoThumbnail() const { return B[4]; }
    const engine::Bitmap& ParentFolder() const { return B[5]; }
    ThumbnailFrames Frames() const { return {CamFrame(), JpegFrame(), NoThumbnail()}; }
};

// Drawn on first use, kept for the program's life.
const FrameBitmaps& DiskFrameBitmaps();

}  // namespace ui
