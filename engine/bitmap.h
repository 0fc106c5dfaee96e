#pragma once
// A plain in-memory bitmap of 24 bits (B, G, R per pixel) or 8 bits (one grey or palette index
// per pixel), rows top-down and tightly packed. The engine draws and compares pictures on it;
// only the Qt folders turn it into a QImage.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace engine {

class Bitmap {
public:
    Bitmap() = default;
    Bitmap(int width, int height, int bitsPerPixel) { Resize(width, height, bitsPerPixel); }

    void Resize(int width, int height, int bitsPerPixel) {
        if (width < 0 || height < 0 || (bitsPerPixel != 24 && bitsPerPixel != 8))
            throw std::invalid_argument("Bitmap: bad size or depth");
        width_ = width;
        height_ = height;
        bpp_ = bitsPerPixel;
        pixels_.assign(static_cast<std::size_t>(width) * height * (bitsPerPixel / 8), 0);
    }

    int width() const { return width_; }
    int height() const { return height_; }
    int bitsPerPixel() const { return bpp_; }
    int bytesPerPixel() const { return bpp_ / 8; }
    std::size_t stride() const { return static_cast<std::size_t>(width_) * bytesPerPixel(); }
    bool empty() const { return width_ == 0 || height_ == 0; }

    std::uint8_t* row(int y) { return pixels_.data() + y * stride(); }
    const std::uint8_t* row(int y) const { return pixels_.data() + y * stride(); }
    std::uint8_t* data() { return pixels_.data(); }
    const std::uint8_t* data() const { return pixels_.data(); }
    std::size_t size() const { return pixels_.size(); }

    bool operator==(const Bitmap&) const = default;

private:
    int width_ = 0;
    int height_ = 0;
    int bpp_ = 24;
    std::vector<std::uint8_t> pixels_;
};

}  // namespace engine
