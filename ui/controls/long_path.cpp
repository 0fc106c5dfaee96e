#include "ui/controls/long_path.h"

#include <sys/stat.h>

#include <stdexcept>

namespace ui {

void GetLongComponentName(const std::string& path, std::string& name) {
    struct stat info {};
    if (path.empty() || ::lstat(path.c_str(), &info) != 0) throw std::runtime_error("Error in findfirst");
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
    const std::size_t slash = trimmed.find_last_of('/');
    name = slash == std::string::npos || trimmed.size() == 1 ? trimmed : trimmed.substr(slash + 1);
}

void ExpandToLongPathName(std::string& /*s*/, std::size_t /*maxLength*/) {}

}  // namespace ui
