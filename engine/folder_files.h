#pragma once

#include <string>

namespace engine {

// Deletes every file of folder (ending in '/') whose name matches mask ("*.jpg", "header.*"),
// letters compared without regard to case as webcam folders were always matched. Failures to
// delete are ignored; subfolders are never touched.
void DeleteFilesInFolder(const std::string& folder, const std::string& mask);

}  // namespace engine
