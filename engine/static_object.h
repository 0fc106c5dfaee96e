#pragma once
// One webcam read from a list file: its two records, the extra request lines that become its
// addhead.txt, and its position in the list it was read into. The list dialogs add it to the
// webcam list through the manager.

#include "engine/webcam_records.h"

#include <optional>
#include <string>
#include <vector>

namespace engine {

class twebcamstaticobject {
public:
    TWebcamDefRec FRec;
    TWebcamDef1Rec FRec2;
    // No value when the list gave the webcam no extra request lines.
    std::optional<std::vector<std::string>> FHeaderLines;
    int FPosition = 0;  // 0-based position in the list it was read into
};

// The caller of an import owns the list and everything in it.
using twebcamstaticlist = std::vector<twebcamstaticobject>;

}  // namespace engine
