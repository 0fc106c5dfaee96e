#pragma once
// The screen saver's tests: a private settings store, data folder and lock-file folder, and
// helpers for webcams.def records and saved pictures.

#include "engine/settings_records.h"
#include "engine/webcam_records.h"
#include "tests/support/temp_dir.h"

#include <QColor>

#include <string>
#include <vector>

namespace savertest {

// A plain JPEG of one colour.
std::string JpegOf(int width, int height, QColor colour);

// A program built at the top of the build folder (the test program sits in tests/).
std::string BuiltProgram(const char* name);

struct WebcamSpec {
    std::string url;
    std::string name;
    int savedPictures = 0;      // JPEGs written into its folder
    bool onList = false;        // the InSaverList byte
    std::string description{};
};

class SaverTest : public testsupport::IsolatedTest {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string dataFolder() const { return dataDir().string() + "/"; }
    // Writes the records in order into webcams.def of the data folder, and their pictures.
    void WriteWebcams(const std::vector<WebcamSpec>& webcams);
    // One webcam with three red saved pictures, shown in saved-only mode: nothing is fetched.
    void WriteSavedRedWebcam();
    // Stores EXTRA1 over the saver's defaults after edit changed it.
    template <typename Edit>
    void StoreSaverSettings(Edit edit) {
        engine::TExtra1Rec rec = Extra1();
        edit(rec);
        StoreExtra1(rec);
    }
    engine::TExtra1Rec Extra1() const;
    void StoreExtra1(const engine::TExtra1Rec& rec) const;

private:
    std::string oldRuntime_;
    bool hadRuntime_ = false;
};

}  // namespace savertest
