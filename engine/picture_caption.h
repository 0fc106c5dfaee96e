#pragma once
// Caption text helpers.

#include <string>

namespace engine {

// s with its first character upper-cased (ASCII only); "" stays "".
std::string UpperFirst(std::string s);

}  // namespace engine
