#pragma once
// The pictures saved in a webcam's folder.

#include <string>
#include <string_view>

namespace engine {

// The name (without the folder) of the newest picture of folder: the last "*.jpg" file
// (letters of the extension in any case) in case-insensitive name order, which is the newest
// because saved names end in a fixed-width time stamp. "" when there is none or the folder
// cannot be read. Sub-folders never count.
std::string LatestJpegInFolder(const std::string& folder);

// Reads a whole file; false when it cannot be opened or read.
bool ReadPictureFile(const std::string& path, std::string& bytes);

// Writes bytes as the file path through a temporary file in the same folder that is renamed
// into place, so that the name never shows a partly written picture. A failure removes the
// temporary file and returns false.
bool WritePictureFile(const std::string& path, std::string_view bytes);

}  // namespace engine
