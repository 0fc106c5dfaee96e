#pragma once
// Long path names. A path of drive letters ("C:\...") could name a file by a short alias; POSIX
// paths have no aliases, so a path keeps its form here and only its existence is looked up.

#include <cstddef>
#include <string>

namespace ui {

// The name of the directory entry that Path names (its last component), for files, folders and
// links alike; throws std::runtime_error "Error in findfirst" when there is no such entry.
void GetLongComponentName(const std::string& path, std::string& name);

// Rewrites S into its long-name form of at most MaxLength characters. Every POSIX path is its
// own long form and is left exactly as it is (never cut), whatever its length.
void ExpandToLongPathName(std::string& s, std::size_t maxLength);

}  // namespace ui
