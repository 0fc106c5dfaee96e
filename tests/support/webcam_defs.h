#pragma once
// Webcam definitions and the data folder setting for tests of the main window and of the whole
// program. Header-only, so that the support library needs no engine.

#include <gtest/gtest.h>

#include <fstream>
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

// Count enabled webcams Cam1, Cam2, ... with the pictures urlPrefix + "1.jpg", ..., written as
// webcams.def in one go (a list of a hundred thousand takes a moment, not minutes).
inline void WriteNumberedWebcamDefs(const std::string& dataFolder, int count, const std::string& urlPrefix) {
    std::vector<engine::TWebcamDefRec> recs(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        engine::TWebcamDefRec& rec = recs[static_cast<std::size_t>(i)];
        rec.PictureURL.assign(urlPrefix + std::to_string(i + 1) + ".jpg");
        rec.Name.assign("Cam" + std::to_string(i + 1));
        rec.Refresh = 60;
        rec.Enabled = 1;
    }
    std::ofstream out(dataFolder + engine::kWebcamsDef, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(recs.data()), static_cast<std::streamsize>(recs.size() * sizeof recs[0]));
    ASSERT_TRUE(out.flush()) << dataFolder;
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
