#include "engine/picture_caption.h"

namespace engine {

std::string UpperFirst(std::string s) {
    if (!s.empty() && s[0] >= 'a' && s[0] <= 'z')
        s[0] = static_cast<char>(s[0] - 'a' + 'A');
    return s;
}

}  // namespace engine
