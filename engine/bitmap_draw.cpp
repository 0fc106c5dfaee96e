#include "engine/bitmap_draw.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace engine {
namespace {

// For each destination coordinate 0..destSize-1 inside the span, the source coordinate it takes;
// -1 outside the span. A span from `from` to `to` (exclusive) runs backwards when to < from.
std::vector<int> SourceIndex(int destSize, int from, int to, int srcSize) {
    std::vector<int> index(static_cast<std::size_t>(std::max(destSize, 0)), -1);
    const int extent = std::abs(to - from);
    if (extent == 0 || srcSize == 0)
        return index;
    const bool mirrored = to < from;
    for (int i = 0; i < extent; ++i) {
        const int d = mirrored ? from - i : from + i;
        if (d < 0 || d >= destSize)
            continue;
        // Sample at the centre of the destination pixel.
        index[static_cast<std::size_t>(d)] =
            static_cast<int>((static_cast<std::int64_t>(2 * i + 1) * srcSize) / (2 * static_cast<std::int64_t>(extent)));
    }
    return index;
}

void CopyPixel(const std::uint8_t* s, int srcBytes, std::uint8_t* d, int destBytes) {
    if (srcBytes == destBytes) {
        std::copy(s, s + srcBytes, d);
    } else if (destBytes == 3) {
        d[0] = d[1] = d[2] = s[0];
    } else {
        d[0] = static_cast<std::uint8_t>((s[2] * 299 + s[1] * 587 + s[0] * 114) / 1000);
    }
}

}  // namespace

void StretchDraw(Bitmap& dest, const Rect& rect, const Bitmap& src) {
    if (dest.empty() || src.empty())
        return;
    const std::vector<int> xs = SourceIndex(dest.width(), rect.left, rect.right, src.width());
    const std::vector<int> ys = SourceIndex(dest.height(), rect.top, rect.bottom, src.height());
    const int sb = src.bytesPerPixel();
    const int db = dest.bytesPerPixel();
    for (int y = 0; y < dest.height(); ++y) {
        const int sy = ys[static_cast<std::size_t>(y)];
        if (sy < 0)
            continue;
        const std::uint8_t* srow = src.row(sy);
        std::uint8_t* drow = dest.row(y);
        for (int x = 0; x < dest.width(); ++x) {
            const int sx = xs[static_cast<std::size_t>(x)];
            if (sx >= 0)
                CopyPixel(srow + sx * sb, sb, drow + x * db, db);
        }
    }
}

void StretchDraw(Bitmap& dest, const Bitmap& src) {
    StretchDraw(dest, Rect{0, 0, dest.width(), dest.height()}, src);
}

}  // namespace engine
