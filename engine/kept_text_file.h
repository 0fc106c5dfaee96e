#pragma once
// The lines of a small text file kept in memory and read again only when the file changed: a
// webcam's header.txt, which a turn answered "not modified" leaves as it was. A change is a
// different file (inode), size or modification time, as stat reports them; a missing or
// unreadable file has no lines. Used by one thread at a time (a webcam's holding fetch thread).

#include <sys/types.h>

#include <ctime>
#include <string>
#include <vector>

namespace engine {

class KeptTextFile {
public:
    // The lines of path (without their line ends), read when it is not the file kept.
    const std::vector<std::string>& Lines(const std::string& path);

private:
    struct Identity {
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        timespec modified{};
        bool operator==(const Identity& other) const;
    };

    std::string path_;
    bool kept_ = false;
    Identity identity_;
    std::vector<std::string> lines_;
};

}  // namespace engine
