#include "engine/folder_files.h"

#include <fnmatch.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace engine {

void DeleteFilesInFolder(const std::string& folder, const std::string& mask) {
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (it->is_directory(typeError)) continue;
        const std::string name = it->path().filename().string();
        if (fnmatch(mask.c_str(), name.c_str(), FNM_CASEFOLD) == 0) {
            std::error_code removeError;
            fs::remove(it->path(), removeError);
        }
    }
}

}  // namespace engine
