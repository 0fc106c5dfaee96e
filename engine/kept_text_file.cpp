#include "engine/kept_text_file.h"

#include "engine/webcam_folder.h"

namespace engine {

const std::vector<std::string>& KeptTextFile::Lines(const std::string& path) {
    const std::optional<FileIdentity> now = IdentityOf(path);
    if (!now) {
        identity_.reset();
        lines_.clear();
        return lines_;
    }
    if (identity_ == now && path == path_) return lines_;
    // Identified before the read: a change made meanwhile is seen by the next look.
    lines_ = ReadTextLines(path);
    path_ = path;
    identity_ = now;
    return lines_;
}

}  // namespace engine
