#pragma once
// What the screen saver reads from the settings store at start, and the live request it makes
// for one webcam from it.

#include "engine/settings_records.h"
#include "engine/webcam_records.h"
#include "saver/fetch/live_fetch.h"

#include <string>

namespace saver {

struct SaverSettings {
    engine::TConfigRec config;   // the proxy
    engine::TExtraRec extra;     // the data folder, with a trailing '/'
    engine::TExtra1Rec extra1;   // the screen saver's own settings and the proxy login

    std::string DataFolder() const { return extra.DataDir.str(); }
};

// Reads the three records with the screen saver's readers; raises only when the settings key
// cannot be opened.
SaverSettings ReadSaverSettings();

// The live request for a webcam: its login when it sends one, its page as Referer, and the
// proxy with its login when the settings use one.
LiveRequest LiveRequestFor(const engine::TWebcamDefRec& rec, const SaverSettings& settings);

}  // namespace saver
