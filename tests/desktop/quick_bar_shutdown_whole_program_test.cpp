// The quick bar as the whole program ends and starts: "Quitter" from the bar's own menu ends ovl
// cleanly; a session manager's SIGTERM followed by SIGKILL leaves the stored buttons old or new,
// whole, and the bar's position always there; a hundred thousand stored values do not freeze
// the start, nor keep SIGTERM from ending the program.

#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <thread>

#include "desktop/app_bar_settings.h"
#include "desktop/quick_bar_store.h"
#include "platform/settings_store.h"
#include "tests/desktop/quick_bar_whole_program_fixture.h"
#include "tests/support/webcam_defs.h"

namespace wholeprogram {
namespace {

using namespace std::chrono_literals;

TEST_F(QuickBarWholeProgram, QuitterFromTheBarsOwnMenuEndsTheProgramCleanly) {
    ServePicture("red.jpg", kRed);
    testsupport::WriteWebcamDefs(dataFolder(), {Url("red.jpg")});
    platform::SettingsKey(desktop::kQuickBarKey, true).WriteString("0", "Cam1");
    StoreBarOpen();
    ASSERT_TRUE(StartOvl());
    const std::string bar = WaitForBar();
    ASSERT_FALSE(bar.empty());
    // Docked at the top (nothing stored): the menu picture is the bar's top-left corner; the
    // menu's last item is "Quitter".
    ASSERT_TRUE(testsupport::WaitFor([&] { return WorkArea()[1] == 80; }, 10s)) << OvlLog();
    ASSERT_TRUE(ActionOpensWindow([&] { return desktop_->Xdo({"mousemove", "8", "8", "click", "1"}); }))
        << "the bar's menu did not open\n" << OvlLog();
    ASSERT_TRUE(desktop_->Keys({"Up", "Return"}));

    const std::optional<int> status = testsupport::WaitForChild(ovl_, 30s);
    ASSERT_TRUE(status.has_value()) << "ovl did not end\n" << OvlLog();
    ovl_ = -1;
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << "status " << *status << "\n" << OvlLog();
    EXPECT_EQ(desktop::ReadQuickBarNames(), (std::vector<std::string>{"Cam1"}));
}

// A thousand buttons, and one stored name that matches no webcam (left out by the next save): a
// kill at any moment of the end finds the old list or the new one, whole, and "DOROZADATA".
TEST_F(QuickBarWholeProgram, AKillDuringTheSaveLeavesTheOldOrTheNewButtonsWhole) {
    constexpr int kButtons = 1000;
    std::vector<std::string> urls, names;
    for (int i = 1; i <= kButtons; ++i) {
        urls.push_back(Url("cam" + std::to_string(i) + ".jpg"));
        names.push_back("Cam" + std::to_string(i));
    }
    testsupport::WriteWebcamDefs(dataFolder(), urls);
    std::vector<std::string> stored = names;
    stored.push_back("Gone");
    desktop::TAppBarSettings position = desktop::DefaultAppBarSettings({0, 0, 1280, 1024});
    position.Edge = desktop::abeFloat;
    position.SetFloatRect({300, 300, 600, 404});
    StoreBarOpen();

    std::mt19937 random(std::random_device{}());
    for (int round = 0; round < 3; ++round) {
        ASSERT_TRUE(desktop::WriteQuickBarStore(stored, position));
        ASSERT_TRUE(StartOvl());
        ASSERT_FALSE(WaitForBar().empty());
        // The session manager's way: SIGTERM, then SIGKILL a moment later.
        const auto delay = std::chrono::milliseconds(std::uniform_int_distribution<int>(0, 1500)(random));
        SCOPED_TRACE(testing::Message() << "round " << round << ", killed " << delay.count() << " ms after SIGTERM");
        kill(ovl_, SIGTERM);
        std::this_thread::sleep_for(delay);
        kill(ovl_, SIGKILL);
        ASSERT_TRUE(testsupport::WaitForChild(ovl_, 10s));
        ovl_ = -1;

        const std::vector<std::string> after = desktop::ReadQuickBarNames();
        EXPECT_TRUE(after == stored || after == names) << after.size() << " names";
        desktop::TAppBarSettings read{};
        EXPECT_TRUE(desktop::ReadAppBarSettings(read)) << "no DOROZADATA";
    }
}

// The settings store moved to a memory file system for the life of the object, when there is one:
// a hundred thousand files take long to make and remove on a busy disk.
class StoreInMemory {
public:
    explicit StoreInMemory(const std::filesystem::path& store) {
        std::string folder = "/dev/shm/orvello-store-XXXXXX";
        if (!mkdtemp(folder.data())) return;
        folder_ = folder;
        std::filesystem::copy(store, folder_, std::filesystem::copy_options::recursive);
        setenv("XDG_CONFIG_HOME", folder_.c_str(), 1);  // the fixture sets it back
    }
    ~StoreInMemory() {
        std::error_code ec;
        if (!folder_.empty()) std::filesystem::remove_all(folder_, ec);
    }

private:
    std::filesystem::path folder_;
};

// A hundred thousand names that match no webcam: the bar opens with the window, and SIGTERM still
// ends the program at once.
TEST_F(QuickBarWholeProgram, AHundredThousandStoredValuesOpenTheBarAndSigtermStillEndsTheProgram) {
    ServePicture("red.jpg", kRed);
    testsupport::WriteWebcamDefs(dataFolder(), {Url("red.jpg")});
    const StoreInMemory memory(configDir());
    std::vector<platform::StoredValue> values;
    for (int i = 0; i < 100000; ++i) values.push_back({std::to_string(i), platform::ValueType::String, "None" + std::to_string(i)});
    platform::SettingsKey::ReplaceKey(desktop::kQuickBarKey, values);
    StoreBarOpen();

    ASSERT_TRUE(StartOvl());
    ASSERT_FALSE(WaitForBar(10000).empty());
    // The main window answers: its File menu opens.
    ASSERT_TRUE(desktop_->Focus(mainWindow_));
    EXPECT_TRUE(ActionOpensWindow([&] { return desktop_->Keys({"alt+f"}); }))
        << "the main window did not answer\n" << OvlLog();
    ASSERT_TRUE(desktop_->Keys({"Escape"}));

    kill(ovl_, SIGTERM);
    const std::optional<int> status = testsupport::WaitForChild(ovl_, 2s);
    ASSERT_TRUE(status.has_value()) << "ovl did not end within 2 s of SIGTERM\n" << OvlLog();
    ovl_ = -1;
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << *status;
    EXPECT_TRUE(desktop::ReadQuickBarNames().empty());  // none matched a webcam
}

}  // namespace
}  // namespace wholeprogram
