#pragma once
// timagecollection: the listing of one folder for the disk-picture browser. Sub-folders come
// first (by name, then the day-named folders DDMMMYY in date order), then the files, sorted by
// path. Entries are numbered from 1. Main thread only; no Qt.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/clock_datetime.h"

namespace ui {

// Listing flags.
inline constexpr std::uint8_t kListJpegFiles = 2;  // "*.jpg"
inline constexpr std::uint8_t kListFolders = 4;    // sub-folders, ".." included
inline constexpr std::uint8_t kListAllFiles = 8;   // every file (replaces kListJpegFiles)

// Entry types, as ItemType gives them.
inline constexpr int kEntryCam = 0;
inline constexpr int kEntryJpeg = 1;
inline constexpr int kEntryFolder = 2;
inline constexpr int kEntryOther = 3;

// The day a folder named DDMMMYY stands for (years below 95 are 20YY); nothing when the name is
// not such a date.
std::optional<platform::TDateTime> FolderNameToDate(const std::string& name);

// Bubble sort of folder paths by the date of their names: neighbours swap when the first is
// later; a pair is compared only when the first is not ".." and both names are dates.
void SortFoldersByDate(std::vector<std::string>& paths);

// The part of a path after its last '/'.
std::string EntryName(const std::string& path);

class timagecollection {
public:
    int Count() const { return static_cast<int>(FPaths.size()); }
    // Empty when i is out of range.
    std::string GetPath(int i) const;
    std::string GetName(int i) const { return EntryName(GetPath(i)); }
    // kEntryOther when i is out of range.
    int ItemType(int i) const;
    void Clear();
    // Lists folder by flags; std::runtime_error (folder + "n'existe pas") when it is no folder.
    void Load(const std::string& folder, std::uint8_t flags);

private:
    std::string FFolder;  // ending in '/'
    std::uint8_t FFlags = 0;
    std::vector<std::string> FPaths;
    std::vector<char> FTypes;  // 'F' folder, 'J' JPEG, 'M' CAM picture, 'X' other
};

}  // namespace ui
