#pragma once
// Settling the data folder at start-up: the stored folder when it exists, else the program
// folder; made the current directory and given a trailing '/'. It must fit its 255-character
// record field with that '/': a longer path is refused (never cut into another path) and the
// program folder is used instead.

#include <string>

namespace ui {

inline constexpr std::size_t kDataFolderField = 255;

struct SettledDataFolder {
    std::string folder;   // with a trailing '/'; empty when no folder could be used
    std::string refused;  // a path refused as too long, for the message; empty when none
};

// stored: the record's DataDir; programFolder: the program folder with its trailing '/'.
// The chosen folder becomes the current directory; when that fails the folder is empty.
SettledDataFolder SettleDataFolder(const std::string& stored, const std::string& programFolder);

// The message shown for a refused path.
std::string DataFolderTooLongText(const std::string& refused);

}  // namespace ui
