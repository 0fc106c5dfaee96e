#pragma once
// The compiled-in message table, sorted by number.

#include <cstddef>

namespace engine {

struct MessageEntry {
    int number;
    const char* text;
};

extern const MessageEntry kMessageTable[];
extern const std::size_t kMessageTableSize;

}  // namespace engine
