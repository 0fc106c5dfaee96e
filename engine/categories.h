#pragma once
// The names of the 255 webcam categories, of which 1..57 are used. Category k of a webcam is
// the flag Categories[k] of its record 1.

#include "engine/webcam_records.h"

#include <array>
#include <memory>
#include <string>

namespace engine {

class tcategorymanager {
public:
    tcategorymanager();  // fills slots 1..57

    // The first slot (1..255) whose name equals Name ignoring case, 0 when none.
    int IndexOfCategory(const std::string& name) const;

    std::array<std::string, 256> FNames;  // UTF-8; slot 0 unused, 58..255 empty
};

// The one instance, created and freed by the webcam manager.
extern std::unique_ptr<tcategorymanager> CategoryManager;

// The display text of a webcam status 0..7; empty for any other value.
std::string WebcamStatusText(int status);

}  // namespace engine
