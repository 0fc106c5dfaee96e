#pragma once
// Webcam definitions for tests of the main window and of the whole program: one enabled webcam
// per picture URL, named Cam1, Cam2, ... in webcams.def of the data folder. Header-only, so
// that the support library needs no engine.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/definition_files.h"
#include "engine/webcam_records.h"

namespace testsupport {

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

}  // namespace testsupport
