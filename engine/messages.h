#pragma once
// The program's user-interface texts, numbered as the program refers to them (65088..65311),
// French, in UTF-8. Looked up by number each time a text is shown.

#include <string>

namespace engine {

// The text of a message number; empty for a number the table does not hold.
std::string LoadMessage(int number);

// The number of texts in the table.
int MessageCount();

// Message numbers the engine itself uses.
inline constexpr int kMsgOutOfRange = 65178;  // "webcam hors balayage"

}  // namespace engine
