#pragma once
// A plain in-memory bitmap of 24 bits (B, G, R per pixel) or 8 bits (one grey or palette index
// per pixel), rows top-down and tightly packed. The engine draws and compares pictures on it;
// only the Qt folders turn it into a QImage.

#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <new>
#include <stdexcept>
#include <utility>
#include <vector>

namespace engine {

// The pixel store's allocator. Storage starts on a 64-byte cache line, so the JPEG library's
// vector stores into rows whose length is a multiple of 64 never straddle lines (a few per cent
// of a full-size colour decode). The line is found inside a plain allocation a line longer:
// the allocator's own aligned allocations leave a small free piece before every block, and
// with thousands of bitmaps kept and replaced those pieces held most of the heap. The elements
// a vector grows by are left uninitialised (a decoder overwrites them all anyway); an explicit
// value is still stored.
template <class T>
struct PixelAllocator : std::allocator<T> {
    template <class U>
    struct rebind {
        using other = PixelAllocator<U>;
    };
    PixelAllocator() = default;
    template <class U>
    PixelAllocator(const PixelAllocator<U>&) noexcept {}

    // The block's own start is kept in the bytes just before the aligned storage.
    T* allocate(std::size_t n) {
        if (n > (std::numeric_limits<std::size_t>::max() - kLine) / sizeof(T)) throw std::bad_array_new_length();
        auto* block = static_cast<std::byte*>(::operator new(n * sizeof(T) + kLine));
        const auto start = reinterpret_cast<std::uintptr_t>(block) + sizeof(void*);
        auto* aligned = reinterpret_cast<std::byte*>((start + kLine - 1) & ~std::uintptr_t{kLine - 1});
        reinterpret_cast<void**>(aligned)[-1] = block;
        return reinterpret_cast<T*>(aligned);
    }
    void deallocate(T* p, std::size_t) noexcept { ::operator delete(reinterpret_cast<void**>(p)[-1]); }

    template <class U, class... Args>
    void construct(U* p, Args&&... args) {
        if constexpr (sizeof...(Args) == 0)
            ::new (static_cast<void*>(p)) U;
        else
            ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }

private:
    // A block starts at least pointer-aligned, so the line after the stored pointer begins at
    // most kLine bytes in.
    static constexpr std::size_t kLine = 64;
    static_assert(__STDCPP_DEFAULT_NEW_ALIGNMENT__ >= alignof(void*));
};

class Bitmap {
public:
    Bitmap() = default;
    Bitmap(int width, int height, int bitsPerPixel) { Resize(width, height, bitsPerPixel); }

    // Every pixel black.
    void Resize(int width, int height, int bitsPerPixel) {
        pixels_.assign(CheckedSize(width, height, bitsPerPixel), 0);
        SetShape(width, height, bitsPerPixel);
    }

    // Pixel values left unspecified, for a caller that writes every pixel next. The storage is
    // kept when it is large enough, so decoding again and again into one bitmap allocates once.
    void ResizeForOverwrite(int width, int height, int bitsPerPixel) {
        pixels_.resize(CheckedSize(width, height, bitsPerPixel));
        SetShape(width, height, bitsPerPixel);
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
    static std::size_t CheckedSize(int width, int height, int bitsPerPixel) {
        if (width < 0 || height < 0 || (bitsPerPixel != 24 && bitsPerPixel != 8))
            throw std::invalid_argument("Bitmap: bad size or depth");
        return static_cast<std::size_t>(width) * height * (bitsPerPixel / 8);
    }
    void SetShape(int width, int height, int bitsPerPixel) {
        width_ = width;
        height_ = height;
        bpp_ = bitsPerPixel;
    }

    int width_ = 0;
    int height_ = 0;
    int bpp_ = 24;
    std::vector<std::uint8_t, PixelAllocator<std::uint8_t>> pixels_;
};

}  // namespace engine
