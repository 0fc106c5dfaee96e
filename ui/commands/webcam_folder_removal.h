#pragma once
// Removing a deleted webcam's folder below the data folder: its pictures, its header files, its
// request-lines file and the temporary files of saves cut off, then the folder itself. Only the webcam's own folder is ever touched:
// a name that is not a safe folder name, or a folder that is really a symbolic link, is left
// alone, and the folder is removed only when nothing else is left in it.

#include <string>
#include <string_view>

namespace ui {

// dataFolder ends in '/'; name is the webcam's record name (Windows-1252). True when the folder
// is gone (also when it was not there); false when it must be removed by hand.
bool RemoveWebcamFolder(const std::string& dataFolder, std::string_view name);

}  // namespace ui
