#include "engine/bitmap.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

using engine::Bitmap;

bool OnACacheLine(const Bitmap& b) { return reinterpret_cast<std::uintptr_t>(b.data()) % 64 == 0; }

// The pixel store begins on a cache line whatever its size, through copies, growth and moves,
// and every byte of it is usable: AddressSanitizer sees a write past the block.
TEST(Bitmap, PixelsStartOnACacheLineAndFillTheirWholeSize) {
    for (const auto& [w, h, bpp] : {std::tuple{1, 1, 8}, {3, 1, 24}, {86, 80, 24}, {160, 120, 8}, {641, 479, 24}}) {
        SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h) + " x " + std::to_string(bpp));
        Bitmap b(w, h, bpp);
        ASSERT_TRUE(OnACacheLine(b));
        for (std::size_t i = 0; i < b.size(); ++i) b.data()[i] = static_cast<std::uint8_t>(i * 7);
        const Bitmap copy = b;
        EXPECT_TRUE(OnACacheLine(copy));
        EXPECT_EQ(copy, b);
        Bitmap grown = b;
        grown.ResizeForOverwrite(w * 3, h * 2, 24);
        EXPECT_TRUE(OnACacheLine(grown));
        grown.data()[grown.size() - 1] = 1;
        const Bitmap moved = std::move(grown);
        EXPECT_TRUE(OnACacheLine(moved));
        EXPECT_EQ(moved.data()[moved.size() - 1], 1);
    }
}

}  // namespace
