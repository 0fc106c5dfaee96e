#include "engine/picture_stream.h"

#include "engine/bitmap_draw.h"
#include "engine/fast_bitmap.h"
#include "engine/jpeg_picture.h"

#include <algorithm>
#include <string>

namespace engine {
namespace {

std::uint8_t Clamp(int v) { return static_cast<std::uint8_t>(std::clamp(v, 0, 255)); }

Bitmap RawFrame(std::string_view frame) {
    Bitmap bitmap(kRawFrameWidth, kRawFrameHeight, 24);
    tfastbm fast;
    fast.Attach(&bitmap);
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(frame[i]); };
    for (int y = 0; y < kRawFrameHeight; ++y)
        for (int i = 0; i < kRawFrameWidth / 2; ++i) {
            const std::size_t g = static_cast<std::size_t>(y * kRawFrameWidth / 2 + i) * 4;
            fast.SetPixel(2 * i, y, YCbCrToRGB(byte(g), byte(g + 2), byte(g + 3)));
            fast.SetPixel(2 * i + 1, y, YCbCrToRGB(byte(g + 1), byte(g + 2), byte(g + 3)));
        }
    return bitmap;
}

}  // namespace

TColor YCbCrToRGB(std::uint8_t y, std::uint8_t cb, std::uint8_t cr) {
    const int Y = y, Cb = cb - 128, Cr = cr - 128;
    return RGB(Clamp(Y + Cr * 1402 / 1000),
               Clamp(Y - Cb * 34414 / 100000 - Cr * 71414 / 100000),
               Clamp(Y + Cb * 1772 / 1000));
}

void LoadStreamPicture(std::string_view data, Bitmap& target) {
    static constexpr std::string_view kJpegStart("\xFF\xD8\xFF\xDB", 4);
    const std::size_t start = data.find(kJpegStart);
    if (start != std::string_view::npos) {
        try {
            JpegPicture jpeg{std::string(data.substr(start))};
            StretchDraw(target, jpeg.bitmap());
        } catch (const JpegError&) {
            // An undecodable frame leaves the target as it was.
        }
        return;
    }
    if (data.size() > kRawFrameBytes)
        StretchDraw(target, RawFrame(data.substr(data.size() - kRawFrameBytes)));
}

}  // namespace engine
