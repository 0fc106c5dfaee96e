#include "platform/safe_name.h"

namespace platform {

bool IsSafeFolderName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return false;
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '/' || c == '\\' || byte < 0x20 || byte == 0x7F) return false;
    }
    return true;
}

std::string SafeSubfolder(const std::string& folder, std::string_view name) {
    if (!IsSafeFolderName(name)) return {};
    return folder + std::string(name) + '/';
}

}  // namespace platform
