#pragma once
// Writing webcam lists in the program's own format, with CRLF line ends.

#include "engine/webcam_records.h"

#include <string>
#include <string_view>
#include <vector>

namespace engine {

// One "START" ... "ENDWC" block of a webcam: its records and the lines of its addhead.txt.
// A name beginning with "cam" (any case) is a default name and is not written.
std::string FormatListBlock(const TWebcamDefRec& rec, const TWebcamDef1Rec& rec2,
                            const std::vector<std::string>& headerLines);

// Writes the "ENCODE" header line and then the blocks, into a new file or, with append, at
// the end of an existing one. Throws std::system_error naming the file when it fails.
void WriteListFile(const std::string& fileName, bool append, std::string_view blocks);

}  // namespace engine
