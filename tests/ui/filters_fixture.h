#pragma once
// A real webcam manager for the view-filter and viewer tests: fetch threads that are never
// started, pictures whose bytes name their size and colour, a manual clock and a private data
// folder; and a viewer host that asks and shows nothing.

#include <memory>
#include <string>

#include "engine/settings_records.h"
#include "engine/webcam.h"
#include "engine/webcam_manager.h"
#include "media/qt/led_gauge.h"
#include "tests/support/manual_clock.h"
#include "tests/support/temp_dir.h"
#include "ui/viewer/viewer_host.h"

namespace filterstest {

// "PIC w h r g b" stands for a picture of w x h pixels of one colour; other bytes do not decode.
std::string PictureBytes(int width, int height, int r = 90, int g = 140, int b = 200);
std::unique_ptr<engine::twebcampicture> MakePicture(std::string bytes);
// The colour picture of a fake picture; throws for bytes that do not decode.
engine::Bitmap DecodePicture(engine::twebcampicture& picture);

// A viewer's host that asks and shows nothing.
class NullViewerHost : public ui::ViewerHost {
public:
    bool ViewerPageShown() const override { return true; }
    void LoadCurrentMotionSettings() override {}
    int MotionThreshold() const override { return 5; }
    media::TMMLEDGauge& MotionGauge() override { return gauge; }
    void SetStatusText(const QString&) override {}
    void RememberDiskPageState() override {}
    int DiskEntryNumber() const override { return 0; }
    int DiskEntryCount() const override { return 0; }
    media::TMMLEDGauge gauge;
};

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
