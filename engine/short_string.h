#pragma once
// A record string: one length byte followed by N single-byte (Windows-1252) characters.
// Bytes past the length carry no meaning but are kept as they are when a record is copied or
// rewritten, so assign() never clears them.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace engine {

template <std::size_t N>
struct ShortString {
    static_assert(N >= 1 && N <= 255);

    std::uint8_t length;
    char chars[N];

    // A stored length byte larger than the field is clamped to the field.
    std::size_t size() const { return std::min<std::size_t>(length, N); }
    bool empty() const { return size() == 0; }
    std::string_view view() const { return {chars, size()}; }
    std::string str() const { return std::string(view()); }

    // Longer values are cut to the field, as the stored format allows no more.
    void assign(std::string_view text) {
        const std::size_t n = std::min(text.size(), N);
        if (n != 0) std::memcpy(chars, text.data(), n);  // an empty view may have no data at all
        length = static_cast<std::uint8_t>(n);
    }
    ShortString& operator=(std::string_view text) {
        assign(text);
        return *this;
    }
};

using String255 = ShortString<255>;
static_assert(sizeof(String255) == 256);

}  // namespace engine
