#pragma once
// The debug menu's "Importer wct": turns "wct.dat", a tab-separated table of webcams, into
// "wct.txt", a webcam list in the program's own format, both in the given folder.

#include <string>

namespace ui {

// Reads folder + "wct.dat" and writes folder + "wct.txt" (through a temporary file that is
// renamed into place). Throws with an English text when the input cannot be read, when a line
// has fewer than 10 fields or when the output cannot be written; nothing is written then.
void ConvertWctFile(const std::string& folder);

}  // namespace ui
