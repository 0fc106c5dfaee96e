#pragma once
// The webcams the screen saver shows, from webcams.def of the data folder, and the pictures
// the main program saved in their folders.

#include "engine/settings_records.h"
#include "engine/webcam_records.h"

#include <string>
#include <vector>

namespace saver {

inline constexpr int kMaxSavedCount = 255;

// The names of the ".jpg" files in the webcam's folder (none for a name that is not a safe
// folder name).
std::vector<std::string> SavedPictureNames(const std::string& dataDir, const engine::TWebcamDefRec& rec);

// Counts the webcam's saved pictures, capped at 255, into its SavedCount byte and returns it.
int CountSavedPictures(const std::string& dataDir, engine::TWebcamDefRec& rec);

// Every record of dataDir + "webcams.def" with a picture URL, in file order; with SaverListOnly
// only those on the screen saver's list, with SaverSavedOnly 1 only those with saved pictures.
// Raises std::system_error when the file cannot be read.
std::vector<engine::tsdo> BuildSaverList(const std::string& dataDir, const engine::TExtra1Rec& settings);

}  // namespace saver
