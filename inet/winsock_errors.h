#pragma once
// The Winsock error table and the texts the engines give for a Winsock code.

#include <string>

namespace inet {

// The table's description of a code (its low 16 bits), or nullptr when the table lacks it.
const char* WinsockDescription(int code);
// "[code] description", or "[code] (no description available)"; returns 0 when the code
// was found, 1 when not.
int ErrorText(int code, std::string& text);
std::string ErrorText(int code);

}  // namespace inet
