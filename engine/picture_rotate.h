#pragma once
// Quarter turns of a decoded JPEG picture, for the viewer.

#include "engine/bitmap.h"
#include "engine/jpeg_picture.h"

namespace engine {

// Mode 0: dest := the picture as decoded; 1: a quarter turn clockwise; 2: half a turn;
// 3: a quarter turn counter-clockwise. Any other mode leaves dest as it is. Turned pictures are
// 24-bit; they may be at most 1800 rows high before and after the turn (tfastbm's limit).
void RotateJpegToPicture(JpegPicture& jpeg, Bitmap& dest, int mode);

}  // namespace engine
