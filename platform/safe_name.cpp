#include "platform/safe_name.h"

#include "platform/cp1252.h"

namespace platform {

bool IsSafeFolderName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return false;
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        const bool undefined = byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
        if (c == '/' || c == '\\' || byte < 0x20 || byte == 0x7F || undefined) return false;
    }
    return true;
}

std::string SafeSubfolder(const std::string& folder, std::string_view name) {
    if (!IsSafeFolderName(name)) return {};
    return folder + Cp1252ToUtf8(name) + '/';
}

}  // namespace platform
