#include "engine/motion_compare.h"

#include "engine/fast_bitmap.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <exception>
#include <limits>
#include <stdexcept>
#include <vector>

namespace engine {
namespace {

constexpr double kDarkLevel = 12.0;

void QuarterGrey(JpegPicture& picture) {
    picture.SetScale(JpegScale::Quarter);
    picture.SetGrayscale(true);
}

// Runs a wrapper's comparison; every failure is "changed".
template <typename Fn>
bool Guarded(int& score, Fn&& compare) {
    score = 0;
    try {
        return compare();
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace

MotionBlocks MotionBlocksFor(const TMotionSettingsRec& settings, int sideFactor) {
    const TMotionSettingsRec valid = ValidMotionSettings(settings);
    MotionBlocks blocks;
    blocks.Side = valid.CellSize * sideFactor;
    if (blocks.Side == 100)
        blocks.Side = 9999;
    blocks.RatioLimit = (26 - valid.Sensitivity) * 0.04 + 1.0;
    return blocks;
}

namespace {

// One block of side s at column bx and row by, its last column and row clamped to the picture's
// last ones (blocks share their borders). The picture needs at least one whole block.
struct BlockRect {
    int x0, x1, y0, y1;
};
BlockRect BlockAt(int bx, int by, int s, int w, int h) {
    return {bx * s, std::min(bx * s + s, w - 1), by * s, std::min(by * s + s, h - 1)};
}

// The red component of every pixel, which is the grey value of a grey decode; row by row,
// straight from the row bytes (the sum does not depend on the order).
std::int64_t BlockSum(const tfastbm& picture, const BlockRect& r) {
    const int step = picture.BytesPerPixel();
    const int red = step == 3 ? 2 : 0;
    std::int64_t sum = 0;
    for (int y = r.y0; y <= r.y1; ++y) {
        const std::uint8_t* row = picture.ScanLine(y) + red;
        std::uint32_t rowSum = 0;
        for (int x = r.x0; x <= r.x1; ++x) rowSum += row[x * step];
        sum += rowSum;
    }
    return sum;
}

// The comparison of two pictures of w x h whose block sums sumOf(index, rect) give, the index
// counting blocks column by column.
template <typename SumOfA, typename SumOfB>
bool CompareBlocks(int w, int h, const MotionBlocks& blocks, int threshold, int& score, SumOfA&& sumOfA,
                   SumOfB&& sumOfB) {
    const int s = blocks.Side;
    const std::int64_t n = static_cast<std::int64_t>(w / s) * (h / s);
    std::int64_t changed = 0;
    std::size_t index = 0;
    // Column by column; a black or dark block ends its column.
    for (int bx = 0; bx <= w / s; ++bx) {
        for (int by = 0; by <= h / s; ++by) {
            const BlockRect r = BlockAt(bx, by, s, w, h);
            const std::int64_t count = static_cast<std::int64_t>(r.x1 - r.x0 + 1) * (r.y1 - r.y0 + 1);
            const std::int64_t sa = sumOfA(index + static_cast<std::size_t>(by), r);
            const std::int64_t sb = sumOfB(index + static_cast<std::size_t>(by), r);
            if (sa == 0 || sb == 0 || count == 0)
                break;
            const double av = static_cast<double>(sa) / count;
            const double bv = static_cast<double>(sb) / count;
            if (av < kDarkLevel && bv < kDarkLevel)
                break;
            if (std::max(av, bv) / std::min(av, bv) > blocks.RatioLimit)
                ++changed;
        }
        index += static_cast<std::size_t>(h / s) + 1;
    }
    // Rounded to the nearest, halves to even.
    score = static_cast<int>(std::nearbyint(std::sqrt(static_cast<double>(changed * 100000 / n))));
    return score < 4 * threshold;
}

// The sums of a summed picture, and of a decoded one (which the fast bitmap only reads).
auto SumsFrom(const MotionBlockSums& sums) {
    return [&sums](std::size_t index, const BlockRect&) { return std::int64_t{sums.Sum(index)}; };
}
auto SumsFrom(const tfastbm& picture) {
    return [&picture](std::size_t, const BlockRect& r) { return BlockSum(picture, r); };
}

// Pictures of different sizes, or without one whole block, are changed with score 0.
bool Comparable(int aw, int ah, const Bitmap& b, int s) {
    return aw == b.width() && ah == b.height() && s >= 1 && (aw / s) * static_cast<std::int64_t>(ah / s) > 0;
}

}  // namespace

bool CompareImagesForMotion(const Bitmap& a, const Bitmap& b, const MotionBlocks& blocks, int threshold, int& score) {
    score = 0;
    if (!Comparable(a.width(), a.height(), b, blocks.Side))
        return false;
    // A reference may be shared with another thread's test: only read.
    tfastbm fa, fb;
    fa.Attach(const_cast<Bitmap*>(&a));
    fb.Attach(const_cast<Bitmap*>(&b));
    return CompareBlocks(a.width(), a.height(), blocks, threshold, score, SumsFrom(fa), SumsFrom(fb));
}

MotionBlockSums BlockSumsOf(const Bitmap& picture, int side) {
    MotionBlockSums sums{picture.width(), picture.height(), side, {}, {}};
    const int w = picture.width(), h = picture.height();
    // No blocks compare as changed, whatever the other picture: so does a picture the comparison
    // cannot read, which fails it.
    if (side < 1 || w / side == 0 || h / side == 0 || h > kFastBitmapMaxRows)
        return sums;
    // A block has at most (side + 1)^2 pixels of at most 255.
    if (side > 4095)
        throw std::length_error("motion blocks too large to be summed");
    const std::int64_t largestSum = std::int64_t{side + 1} * (side + 1) * 255;
    tfastbm fast;
    fast.Attach(const_cast<Bitmap*>(&picture));
    const auto fill = [&]<typename Sum>(std::vector<Sum>& into) {
        into.reserve(static_cast<std::size_t>(w / side + 1) * static_cast<std::size_t>(h / side + 1));
        for (int bx = 0; bx <= w / side; ++bx)
            for (int by = 0; by <= h / side; ++by)
                into.push_back(static_cast<Sum>(BlockSum(fast, BlockAt(bx, by, side, w, h))));
    };
    if (largestSum <= std::numeric_limits<std::uint16_t>::max())
        fill(sums.Narrow);
    else
        fill(sums.Wide);
    return sums;
}

bool CompareWithBlockSums(const MotionBlockSums& a, const Bitmap& b, const MotionBlocks& blocks, int threshold,
                          int& score) {
    score = 0;
    if (!Comparable(a.Width, a.Height, b, blocks.Side) || a.Count() == 0)
        return false;
    if (a.Side != blocks.Side)
        throw std::invalid_argument("block sums made for another side");
    tfastbm fb;
    fb.Attach(const_cast<Bitmap*>(&b));
    return CompareBlocks(a.Width, a.Height, blocks, threshold, score, SumsFrom(a), SumsFrom(fb));
}

bool CompareBlockSums(const MotionBlockSums& a, const MotionBlockSums& b, const MotionBlocks& blocks, int threshold,
                      int& score) {
    score = 0;
    // Sums are empty for a picture without one whole block or past the fast bitmap's rows,
    // whose comparison fails: changed with score 0 either way.
    if (a.Width != b.Width || a.Height != b.Height || a.Count() == 0 || b.Count() == 0)
        return false;
    if (a.Side != blocks.Side || b.Side != blocks.Side)
        throw std::invalid_argument("block sums made for another side");
    return CompareBlocks(a.Width, a.Height, blocks, threshold, score, SumsFrom(a), SumsFrom(b));
}

int MotionTestSide(const TMotionSettingsRec& settings) { return MotionBlocksFor(settings, 1).Side; }

namespace {

// The new-picture steps' comparison: blocks of CellSize.
bool CompareForMotion(const Bitmap& a, const Bitmap& b, const TMotionSettingsRec& settings, int& score) {
    return CompareImagesForMotion(a, b, MotionBlocksFor(settings, 1), ValidMotionSettings(settings).Threshold, score);
}

bool CompareForMotion(const MotionBlockSums& a, const Bitmap& b, const TMotionSettingsRec& settings, int& score) {
    return CompareWithBlockSums(a, b, MotionBlocksFor(settings, 1), ValidMotionSettings(settings).Threshold, score);
}

}  // namespace

bool CompareJpegFiles(const std::string& fileA, const std::string& fileB, const TMotionSettingsRec& settings,
                      int& score) {
    return Guarded(score, [&] {
        if (fileA.empty() || fileB.empty())
            return false;
        JpegPicture a, b;
        a.LoadFromFile(fileA);
        b.LoadFromFile(fileB);
        QuarterGrey(a);
        QuarterGrey(b);
        return CompareImagesForMotion(a.bitmap(), b.bitmap(), MotionBlocksFor(settings, 4),
                                      ValidMotionSettings(settings).Threshold, score);
    });
}

MotionBlockSums DecodeMotionReference(const std::string& fileName, const TMotionSettingsRec& settings) {
    JpegPicture saved;
    saved.LoadFromFile(fileName);
    return DecodeMotionReferenceBytes(saved.Bytes(), settings);
}

MotionBlockSums DecodeMotionReferenceBytes(std::string bytes, const TMotionSettingsRec& settings) {
    JpegPicture saved(std::move(bytes));
    QuarterGrey(saved);
    return BlockSumsOf(saved.bitmap(), MotionTestSide(settings));
}

bool CompareJpegWithReference(const MotionBlockSums* reference, JpegPicture& picture,
                              const TMotionSettingsRec& settings, int& score) {
    return Guarded(score, [&] {
        if (reference == nullptr)
            return false;
        QuarterGrey(picture);
        return CompareForMotion(*reference, picture.bitmap(), settings, score);
    });
}

bool CompareWithReferenceSums(const MotionBlockSums* reference, const MotionBlockSums& picture,
                              const TMotionSettingsRec& settings, int& score) {
    return Guarded(score, [&] {
        if (reference == nullptr)
            return false;
        return CompareBlockSums(*reference, picture, MotionBlocksFor(settings, 1), ValidMotionSettings(settings).Threshold,
                                score);
    });
}

bool CompareJpegWithFile(const std::string& fileName, JpegPicture& picture, const TMotionSettingsRec& settings,
                         int& score) {
    return Guarded(score, [&] {
        if (fileName.empty())
            return false;
        const MotionBlockSums reference = DecodeMotionReference(fileName, settings);
        return CompareJpegWithReference(&reference, picture, settings, score);
    });
}

bool CompareImages(JpegPicture& a, JpegPicture& b, const TMotionSettingsRec& settings, int& score) {
    return Guarded(score, [&] { return CompareForMotion(a.bitmap(), b.bitmap(), settings, score); });
}

bool CompareDecodedImages(const Bitmap& a, const Bitmap& b, const TMotionSettingsRec& settings, int& score) {
    return Guarded(score, [&] { return CompareForMotion(a, b, settings, score); });
}

}  // namespace engine
