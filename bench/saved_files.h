#pragma once
// The pictures a run left in the webcam folders below a data folder.

#include <filesystem>

namespace bench {

inline long SavedFiles(const std::filesystem::path& data) {
    long files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(data))
        files += entry.path().extension() == ".jpg";
    return files;
}

}  // namespace bench
