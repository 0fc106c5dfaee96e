#pragma once
// A webcam's folder below the data folder: creating it, renaming it with the webcam, reading
// its header file and finding its newest picture. Every operation refuses a webcam name that is
// not a safe folder name, so nothing is created or moved outside the data folder.

#include <string>
#include <vector>

namespace engine {

// Creates the webcam's folder dataDir + name (one level) when it does not exist; errors are
// dropped. Nothing happens when the name is not a safe folder name.
void EnsureFolder(const std::string& dataDir, const std::string& name);

// Renames dataDir + oldName to dataDir + newName; never replaces an existing folder. Returns
// false when nothing was renamed.
bool RenameWebcamFolder(const std::string& dataDir, const std::string& oldName, const std::string& newName);

// The lines of a text file without their line ends (LF or CRLF); empty when it cannot be read.
std::vector<std::string> ReadTextLines(const std::string& path);

// The name (without folder) of the last ".jpg" file of the folder in case-insensitive order,
// which is the newest picture because names end in a fixed-width stamp; empty when none.
std::string LatestJpegInFolder(const std::string& folder);

// The names (without folder) of every ".jpg" file of the folder, in the order the folder lists
// them; empty when it cannot be read.
std::vector<std::string> JpegNamesInFolder(const std::string& folder);

}  // namespace engine
