#include "ui/disk/picture_files.h"

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>

namespace ui {

bool CopyPictureFile(const std::string& source, const std::string& destination) {
    namespace fs = std::filesystem;
    std::error_code error;
    // A copy onto itself would empty the picture before reading it.
    if (fs::equivalent(source, destination, error) || !fs::is_regular_file(source, error)) return false;
    const fs::path target(destination);
    std::string temporary = (target.parent_path() / ".copy-XXXXXX").string();
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) return false;
    ::close(fd);
    if (fs::copy_file(source, temporary, fs::copy_options::overwrite_existing, error)) {
        fs::rename(temporary, target, error);
        if (!error) return true;
    }
    fs::remove(temporary, error);
    return false;
}

}  // namespace ui
