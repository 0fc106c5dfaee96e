#pragma once
// Direct pixel access to a 24-bit or 8-bit bitmap through row pointers cached once per Attach,
// for per-pixel loops. At most 1800 rows.

#include "engine/bitmap.h"
#include "engine/bitmap_color.h"

#include <array>
#include <cstdint>

namespace engine {

inline constexpr int kFastBitmapMaxRows = 1800;

class tfastbm {
public:
    // Raises "Nil pointer to bitmap", "Not 24 bit bitmap" or "Bitmap too big for this operation"
    // (std::runtime_error) before any row is cached.
    void Attach(Bitmap* bitmap);

    // Neither checks x or y: callers stay inside the bitmap. An 8-bit pixel reads as grey and is
    // written from the colour's blue byte.
    TColor GetPixel(int x, int y) const {
        const std::uint8_t* p = FScanLines[y] + x * FBytesPerPixel;
        return FBytesPerPixel == 3 ? RGB(p[2], p[1], p[0]) : RGB(p[0], p[0], p[0]);
    }
    // Row y's bytes, for loops over whole rows; 3 or 1 bytes a pixel, as above.
    const std::uint8_t* ScanLine(int y) const { return FScanLines[y]; }
    int BytesPerPixel() const { return FBytesPerPixel; }
    void SetPixel(int x, int y, TColor color) {
        std::uint8_t* p = FScanLines[y] + x * FBytesPerPixel;
        if (FBytesPerPixel == 3) {
            p[0] = BlueOf(color);
            p[1] = GreenOf(color);
            p[2] = RedOf(color);
        } else {
            p[0] = BlueOf(color);
        }
    }

private:
    Bitmap* FBitmap = nullptr;
    int FBytesPerPixel = 3;
    std::array<std::uint8_t*, kFastBitmapMaxRows> FScanLines{};
};

}  // namespace engine
