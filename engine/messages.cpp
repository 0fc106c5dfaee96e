#include "engine/messages.h"

#include "engine/message_table.h"

#include <algorithm>

namespace engine {

std::string LoadMessage(int number) {
    const MessageEntry* end = kMessageTable + kMessageTableSize;
    const MessageEntry* it = std::lower_bound(kMessageTable, end, number,
                                              [](const MessageEntry& e, int n) { return e.number < n; });
    return (it != end && it->number == number) ? it->text : std::string();
}

int MessageCount() { return static_cast<int>(kMessageTableSize); }

}  // namespace engine
