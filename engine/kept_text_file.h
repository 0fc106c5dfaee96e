#pragma once
// The lines of a small text file kept in memory and read again only when the file changed: a
// webcam's header.txt, which a turn answered "not modified" leaves as it was. A change is a
// different file (inode), size or modification time (FileIdentity); a missing or unreadable
// file, or one that is no regular file, has no lines. Used by one thread at a time (a webcam's holding fetch thread).

#include "engine/newest_saved_picture.h"

#include <optional>
#include <string>
#include <vector>

namespace engine {

class KeptTextFile {
public:
    // The lines of path (without their line ends), read when it is not the file kept.
    const std::vector<std::string>& Lines(const std::string& path);

private:
    std::string path_;
    std::optional<FileIdentity> identity_;  // of the lines kept; none: nothing is kept
    std::vector<std::string> lines_;
};

}  // namespace engine
