// ovl as a whole started on settings records of the right sizes but random bytes (CONFIG,
// EXTRA1, EXTRA2, DISKMAN, MOTIONSETTINGS and the quick bar's DOROZADATA), over a few webcams
// with a saved picture each, so the load makes thumbnails of whatever size the records name.
// Each run must show its window and end on SIGTERM within 2 s, at a moment of its own. The
// seeds are fixed: a failing run is repeated by its number.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <chrono>
#include <csignal>
#include <ctime>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "desktop/app_bar_settings.h"
#include "engine/motion_settings.h"
#include "engine/regconfig.h"
#include "engine/settings_records.h"
#include "platform/settings_store.h"
#include "tests/support/webcam_defs.h"
#include "tests/support/xvfb_display.h"
#include "tests/ui/whole_program_fixture.h"

namespace wholeprogram {
namespace {

using namespace std::chrono_literals;

struct RandomRecord {
    const char* key;
    const char* name;
    std::size_t size;
};
const RandomRecord kRecords[] = {
    {engine::kSettingsKey, "CONFIG", sizeof(engine::TConfigRec)},
    {engine::kSettingsKey, "EXTRA1", sizeof(engine::TExtra1Rec)},
    {engine::kSettingsKey, "EXTRA2", sizeof(engine::TExtra2Rec)},
    {engine::kSettingsKey, "DISKMAN", sizeof(engine::TDiskManRec)},
    {engine::kSettingsKey, engine::kMotionSettingsValue, sizeof(engine::TMotionSettingsRec)},
    {desktop::kQuickBarKey, desktop::kAppBarValue, sizeof(desktop::TAppBarSettings)},
};

class RandomSettingsWholeProgram : public WholeProgramTest, public ::testing::WithParamInterface<unsigned> {
protected:
    // The generator's own words, not a distribution: the same bytes from every library.
    void StoreRandomRecords(std::mt19937& random) {
        for (const RandomRecord& record : kRecords) {
            std::vector<unsigned char> bytes(record.size);
            for (unsigned char& byte : bytes) byte = static_cast<unsigned char>(random());
            platform::SettingsKey(record.key, true).WriteBinary(record.name, bytes.data(), bytes.size());
        }
    }
    void WebcamsWithAPicture(int count) {
        ServePicture("cam.jpg", kGreen);
        std::vector<std::string> urls;
        for (int i = 1; i <= count; ++i) urls.push_back(Url("cam" + std::to_string(i) + ".jpg"));
        testsupport::WriteWebcamDefs(dataFolder(), urls);
        const std::string name = SavedPictureName(std::time(nullptr) - 3600);
        for (int i = 1; i <= count; ++i) {
            const std::filesystem::path folder = dataDir() / ("Cam" + std::to_string(i));
            std::filesystem::create_directories(folder);
            std::filesystem::copy_file(nginx_->root() / "cam.jpg", folder / name);
        }
    }
};

TEST_P(RandomSettingsWholeProgram, ShowsItsWindowAndEndsOnSigterm) {
    std::mt19937 random(GetParam());
    StoreRandomRecords(random);
    WebcamsWithAPicture(3);
    ASSERT_TRUE(StartOvl()) << "seed " << GetParam();
    // The load runs a second after the window shows: some runs end before it, some during,
    // most after it.
    std::this_thread::sleep_for(std::chrono::milliseconds(500 + random() % 2000));
    Shot("running");
    const std::optional<int> status = TerminateOvlWithin(2s);
    ASSERT_TRUE(status.has_value()) << "seed " << GetParam() << ": ovl did not end within 2 s\n" << OvlLog();
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0)
        << "seed " << GetParam() << ": status " << *status << "\n" << OvlLog();
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomSettingsWholeProgram, ::testing::Range(1u, 7u));

}  // namespace
}  // namespace wholeprogram
