#include "engine/kept_text_file.h"

#include <sys/stat.h>

#include "engine/webcam_folder.h"

namespace engine {

bool KeptTextFile::Identity::operator==(const Identity& other) const {
    return device == other.device && inode == other.inode && size == other.size &&
           modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec;
}

const std::vector<std::string>& KeptTextFile::Lines(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        kept_ = false;
        lines_.clear();
        return lines_;
    }
    const Identity now{info.st_dev, info.st_ino, info.st_size, info.st_mtim};
    if (kept_ && path == path_ && now == identity_) return lines_;
    // Identified before the read: a change made meanwhile is seen by the next look.
    lines_ = ReadTextLines(path);
    path_ = path;
    identity_ = now;
    kept_ = true;
    return lines_;
}

}  // namespace engine
