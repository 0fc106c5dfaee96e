#pragma once
// Webcam definitions and the data folder setting for tests of the main window and of the whole
// program. Header-only, so that the support library needs no engine.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/definition_files.h"
#include "engine/regconfig.h"
#include "engine/webcam_records.h"

namespace testsupport {

// One enabled webcam per picture URL, named Cam1, Cam2, ... in webcams.def of the data folder.
inline void WriteWebcamDefs(const std::string& dataFolder, const std::vector<std::string>& urls, int refresh = 30) {
    for (std::size_t i = 0; i < urls.size(); ++i) {
        engine::TWebcamDefRec rec{};
        rec.PictureURL.assign(urls[i]);
        rec.Name.assign("Cam" + std::to_string(i + 1));
        rec.Refresh = refresh;
        rec.Enabled = 1;
        ASSERT_TRUE(engine::WriteDefRecord(dataFolder, static_cast<int>(i), rec)) << dataFolder;
    }
}

// The data folder as the user chose it, in the EXTRA record of the settings store.
inline void StoreDataFolder(const std::string& dataFolder) {
    engine::tregconfig store;
    engine::TExtraRec extra{};
    store.ReadExtra(extra);
    extra.DataDir.assign(dataFolder);
    store.WriteExtra(extra);
}

// The thumbnail size, in the EXTRA2 record of the settings store (EXTRA1 as stored).
inline void StoreThumbnailSize(int width, int height) {
    engine::tregconfig store;
    engine::TExtra1Rec extra1{};
    engine::TExtra2Rec extra2{};
    store.ReadExtra12(extra1, extra2);
    extra2.ThumbWidth = width;
    extra2.ThumbHeight = height;
    store.WriteExtra12(extra1, extra2);
}

}  // namespace testsupport
