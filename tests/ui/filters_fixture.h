#pragma once
// A real webcam manager for the view-filter and viewer tests: fetch threads that are never
// started, pictures whose bytes name their size and colour, a manual clock and a private data
// folder.

#include <memory>
#include <string>

#include "engine/settings_records.h"
#include "engine/webcam.h"
#include "engine/webcam_manager.h"
#include "tests/support/manual_clock.h"
#include "tests/support/temp_dir.h"

namespace filterstest {

// "PIC w h r g b" stands for a picture of w x h pixels of one colour; other bytes do not decode.
std::string PictureBytes(int width, int height, int r = 90, int g = 140, int b = 200);
std::unique_ptr<engine::twebcampicture> MakePicture(std::string bytes);
// The colour picture of a fake picture; throws for bytes that do not decode.
engine::Bitmap DecodePicture(engine::twebcampicture& picture);

class ManagerTest : public testsupport::IsolatedTest {
protected:
    void SetUp() override;
    void TearDown() override;

    engine::twebcam& Add(const std::string& name, bool favourite = false);
    std::string DataFolder() const { return dataDir().string() + "/"; }

    testsupport::ManualClock clock_;
    std::unique_ptr<engine::twebcammanager> manager_;
};

}  // namespace filterstest
