#include "engine/motion_compare.h"

#include "engine/fast_bitmap.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <exception>

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

// The new-picture steps' comparison: blocks of CellSize.
bool CompareForMotion(const Bitmap& a, const Bitmap& b, const TMotionSettingsRec& settings, int& score) {
    return CompareImagesForMotion(a, b, MotionBlocksFor(settings, 1), ValidMotionSettings(settings).Threshold, score);
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

bool CompareImagesForMotion(const Bitmap& a, const Bitmap& b, const MotionBlocks& blocks, int threshold, int& score) {
    score = 0;
    if (a.width() != b.width() || a.height() != b.height())
        return false;
    const int s = blocks.Side;
    const int w = a.width();
    const int h = a.height();
    if (s < 1)
        return false;
    const std::int64_t n = static_cast<std::int64_t>(w / s) * (h / s);
    if (n == 0)
        return false;
    // The fast bitmaps only read here; a reference may be shared with another thread's test.
    tfastbm fa, fb;
    fa.Attach(const_cast<Bitmap*>(&a));
    fb.Attach(const_cast<Bitmap*>(&b));
    std::int64_t changed = 0;
    // Column by column; a black or dark block ends its column.
    for (int bx = 0; bx <= w / s; ++bx) {
        const int x0 = bx * s;
        const int x1 = std::min(x0 + s, w - 1);
        for (int by = 0; by <= h / s; ++by) {
            const int y0 = by * s;
            const int y1 = std::min(y0 + s, h - 1);
            std::int64_t sa = 0, sb = 0, count = 0;
            for (int x = x0; x <= x1; ++x)
                for (int y = y0; y <= y1; ++y) {
                    sa += RedOf(fa.GetPixel(x, y));
                    sb += RedOf(fb.GetPixel(x, y));
                    ++count;
                }
            if (sa == 0 || sb == 0 || count == 0)
                break;
            const double av = static_cast<double>(sa) / count;
            const double bv = static_cast<double>(sb) / count;
            if (av < kDarkLevel && bv < kDarkLevel)
                break;
            if (std::max(av, bv) / std::min(av, bv) > blocks.RatioLimit)
                ++changed;
        }
    }
    // Rounded to the nearest, halves to even.
    score = static_cast<int>(std::nearbyint(std::sqrt(static_cast<double>(changed * 100000 / n))));
    return score < 4 * threshold;
}

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

Bitmap DecodeMotionReference(const std::string& fileName) {
    JpegPicture saved;
    saved.LoadFromFile(fileName);
    return DecodeMotionReferenceBytes(saved.Bytes());
}

Bitmap DecodeMotionReferenceBytes(std::string bytes) {
    JpegPicture saved(std::move(bytes));
    QuarterGrey(saved);
    return std::move(saved.bitmap());
}

bool CompareJpegWithReference(const Bitmap* reference, JpegPicture& picture, const TMotionSettingsRec& settings,
                              int& score) {
    return Guarded(score, [&] {
        if (reference == nullptr)
            return false;
        QuarterGrey(picture);
        return CompareForMotion(*reference, picture.bitmap(), settings, score);
    });
}

bool CompareJpegWithFile(const std::string& fileName, JpegPicture& picture, const TMotionSettingsRec& settings,
                         int& score) {
    return Guarded(score, [&] {
        if (fileName.empty())
            return false;
        Bitmap reference = DecodeMotionReference(fileName);
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
