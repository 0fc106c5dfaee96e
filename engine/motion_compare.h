#pragma once
// Motion detection: both pictures are cut into square blocks, the average brightness of each
// block pair is compared, and the share of changed blocks becomes a score. A score of at least
// four times the threshold is motion. Every function returns true for "same" (no motion).

#include "engine/bitmap.h"
#include "engine/jpeg_picture.h"
#include "engine/motion_settings.h"

#include <cstdint>
#include <string>
#include <vector>

namespace engine {

struct MotionBlocks {
    int Side = 4;             // block side in pixels; blocks are Side + 1 wide, sharing borders
    double RatioLimit = 1.52; // a brighter average above this many times the darker is a change
};

// Side = CellSize x sideFactor, where a side of exactly 100 becomes 9999 (one block over the
// whole picture, which is always "changed"); the limit is (26 - Sensitivity) x 0.04 + 1.
// The settings are made valid first.
MotionBlocks MotionBlocksFor(const TMotionSettingsRec& settings, int sideFactor);

// Compares two decoded pictures (their red component, which is the grey value of a grey
// decode). Pictures of different sizes, or smaller than one block, are changed with score 0.
// Raises as tfastbm does for pictures of more than 1800 rows.
bool CompareImagesForMotion(const Bitmap& a, const Bitmap& b, const MotionBlocks& blocks, int threshold, int& score);

// What a motion test needs of the picture it compares with: its size and the brightness sum of
// each of its blocks for one block side, kept by a webcam for its newest saved picture at a
// small part of the decode's size (a 160 x 120 decode in blocks of 4 is 1271 sums, 2.5 KB).
struct MotionBlockSums {
    int Width = 0, Height = 0, Side = 0;
    // Column by column, as the comparison goes: in 16 bits while every block's sum fits (sides
    // up to 15, the default 4 among them), else in 32.
    std::vector<std::uint16_t> Narrow;
    std::vector<std::uint32_t> Wide;
    std::size_t Count() const { return Narrow.size() + Wide.size(); }
    std::uint32_t Sum(std::size_t index) const { return Wide.empty() ? Narrow[index] : Wide[index]; }
};

// The sums of a decoded picture (its red component) for blocks of that side. A picture of more
// than 1800 rows, whose comparison fails, gets none: it compares as changed with score 0, the
// outcome of that failure. Raises for blocks too large for a sum (sides of the new-picture
// steps are at most 25).
MotionBlockSums BlockSumsOf(const Bitmap& picture, int side);

// CompareImagesForMotion with the first picture given by its sums, which must be for
// blocks.Side; the same result, where that one raises "changed" with score 0.
bool CompareWithBlockSums(const MotionBlockSums& a, const Bitmap& b, const MotionBlocks& blocks, int threshold,
                          int& score);

// The same with both pictures given by their sums, made for blocks.Side.
bool CompareBlockSums(const MotionBlockSums& a, const MotionBlockSums& b, const MotionBlocks& blocks, int threshold,
                      int& score);

// The block side of the new-picture steps' motion tests under those settings.
int MotionTestSide(const TMotionSettingsRec& settings);

// Two picture files, decoded grey at quarter size, with blocks of CellSize x 4 (the viewer).
bool CompareJpegFiles(const std::string& fileA, const std::string& fileB, const TMotionSettingsRec& settings,
                      int& score);

// The newest saved file against a new picture; both are set to grey at quarter size.
bool CompareJpegWithFile(const std::string& fileName, JpegPicture& picture, const TMotionSettingsRec& settings,
                         int& score);

// A saved file decoded as CompareJpegWithFile decodes it (grey, quarter size) and summed for
// the motion tests under those settings, so that a webcam can keep it as the reference of its
// following tests. Raises JpegError, and as BlockSumsOf does.
MotionBlockSums DecodeMotionReference(const std::string& fileName, const TMotionSettingsRec& settings);
// The same from the file's bytes, read by the caller.
MotionBlockSums DecodeMotionReferenceBytes(std::string bytes, const TMotionSettingsRec& settings);
// CompareJpegWithFile with the file already decoded by DecodeMotionReference under the same
// settings; no reference (nullptr) is changed, as an empty file name is.
bool CompareJpegWithReference(const MotionBlockSums* reference, JpegPicture& picture,
                              const TMotionSettingsRec& settings, int& score);

// CompareJpegWithReference with the picture given by its sums, made as the reference's are
// (BlockSumsOf its grey quarter-size decode, for MotionTestSide of the settings).
bool CompareWithReferenceSums(const MotionBlockSums* reference, const MotionBlockSums& picture,
                              const TMotionSettingsRec& settings, int& score);

// Two pictures whose scale and grey the caller has set (stream frames).
bool CompareImages(JpegPicture& a, JpegPicture& b, const TMotionSettingsRec& settings, int& score);
// The same with both already decoded.
bool CompareDecodedImages(const Bitmap& a, const Bitmap& b, const TMotionSettingsRec& settings, int& score);

// In the three wrappers an empty file name, a file that cannot be read or decoded, and any
// other failure all count as changed.

}  // namespace engine
