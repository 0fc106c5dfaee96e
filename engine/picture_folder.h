#pragma once
// Reading and writing picture files.

#include <string>
#include <string_view>

namespace engine {

// Reads a whole file; false when it cannot be opened or read.
bool ReadPictureFile(const std::string& path, std::string& bytes);

// Writes bytes as the file path through a temporary file in the same folder that is renamed
// into place, so that the name never shows a partly written picture. A failure removes the
// temporary file and returns false.
bool WritePictureFile(const std::string& path, std::string_view bytes);

// The names WritePictureFile gives its temporary files (".picture-" and six characters).
inline constexpr const char* kTemporaryPictureMask = ".picture-??????";

// Removes the temporary files a save cut off (the process killed) left in a webcam's folder
// (ending in '/'). Call it only while no save into that folder runs.
void RemoveStaleTemporaryPictures(const std::string& folder);

}  // namespace engine
