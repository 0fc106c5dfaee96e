#pragma once
// Reading and writing picture files.

#include <cstddef>
#include <string>
#include <string_view>

namespace engine {

// The most bytes a picture may have, from the network or from a file.
inline constexpr std::size_t kMaxPictureBytes = 32u << 20;

// Reads a whole picture file of at most kMaxPictureBytes. False (bytes empty) when it is
// missing, unreadable, larger, or no regular file: a FIFO or a link to a device named like a
// picture is refused at once, never waited on (platform::ReadRegularFile). Every read of a
// picture file goes through here or that helper.
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
