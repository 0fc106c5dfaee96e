#pragma once
// AddListEntry: one webcam read from a list becomes a webcam of the manager, configured with
// the automatic-creation settings and named by the list, its description or the default.

#include "engine/settings_records.h"
#include "engine/static_object.h"

namespace engine {
class twebcammanager;
}

namespace ui {

// The automatic-creation settings that AddListEntry reads.
struct AutoCreateSettings {
    const engine::TExtra1Rec& extra1;    // AutoRefresh, AutoSaveMode, OneWordNames
    const engine::TDiskManRec& diskMan;  // NoIfModifiedSince, OneWordPrefix
};

// Adds the entry: the manager's index of the new webcam, or minus the index of the webcam that
// already has its picture URL (nothing added). A name starting with "cam" becomes the one-word
// description when the option is on, the description is a safe folder name and no folder has
// it; a name whose folder exists becomes the next free "CamNNN". With its option, a one-word
// description without digits that is a safe name becomes the picture-file prefix.
int AddListEntry(engine::twebcammanager& manager, const engine::twebcamstaticobject& entry,
                 const AutoCreateSettings& settings);

}  // namespace ui
