#pragma once
// Copying a saved picture file without ever leaving half a file under its name, and never onto
// itself. No Qt; main thread.

#include <string>

namespace ui {

// Copies source to destination (replaced when it exists) through a temporary file in the
// destination's folder, renamed into place once whole. False, touching nothing, when the
// destination is the source itself (by any path) or the copy fails.
bool CopyPictureFile(const std::string& source, const std::string& destination);

}  // namespace ui
