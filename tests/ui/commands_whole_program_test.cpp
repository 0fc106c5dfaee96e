// The commands on webcams of ovl as a whole, driven with the keyboard as a person would, on a
// private Xvfb display with local nginx: from an empty data folder, a webcam is created in the
// editor, started, seen, stopped and deleted with its pictures.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "engine/webcam_records.h"
#include "tests/support/temp_dir.h"
#include "tests/support/xvfb_display.h"
#include "tests/ui/whole_program_fixture.h"

namespace wholeprogram {
namespace {

using namespace std::chrono_literals;

// The names of the records in webcams.def, read as the file stands.
std::vector<std::string> StoredNames(const std::filesystem::path& file) {
    const std::string bytes = std::filesystem::exists(file) ? testsupport::ReadFile(file) : std::string();
    std::vector<std::string> names;
    for (std::size_t at = 0; at + sizeof(engine::TWebcamDefRec) <= bytes.size(); at += sizeof(engine::TWebcamDefRec)) {
        const std::size_t name = at + offsetof(engine::TWebcamDefRec, Name);
        names.push_back(bytes.substr(name + 1, static_cast<unsigned char>(bytes[name])));
    }
    return names;
}

bool HasPicture(const std::filesystem::path& folder) {
    if (!std::filesystem::is_directory(folder)) return false;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().extension() == ".jpg") return true;
    return false;
}

class CommandsWholeProgram : public WholeProgramTest {
protected:
    // The Webcams menu, opened with its mnemonic; the first item is highlighted.
    void WebcamsMenuItem(int downs) {
        ASSERT_TRUE(desktop_->Focus(mainWindow_));
        std::vector<std::string> keys{"alt+w"};
        keys.insert(keys.end(), static_cast<std::size_t>(downs), "Down");
        keys.push_back("Return");
        ASSERT_TRUE(desktop_->Keys(keys));
    }
    // Answers Yes to the question box that comes up over the main window.
    void AnswerYes() {
        const std::string box = desktop_->WaitForWindow("^Orvello$", 10000, mainWindow_);
        ASSERT_FALSE(box.empty()) << "no question\n" << OvlLog();
        ASSERT_TRUE(desktop_->Focus(box));
        ASSERT_TRUE(desktop_->Keys({"Return"}));  // Yes is the default button
        ASSERT_TRUE(testsupport::WaitFor([&] { return !desktop_->Visible(box); }, 10s));
    }

    // Items of the Webcams menu, counted from the first.
    static constexpr int kStartAll = 0, kStopAll = 1, kNew = 5, kDeleteCurrent = 14;
};

TEST_F(CommandsWholeProgram, CreateStartStopAndDeleteAWebcamThroughTheMenus) {
    ServePicture("garden.jpg", kRed);
    ASSERT_TRUE(StartOvl());
    const std::filesystem::path definitions = dataDir() / "webcams.def";
    const std::filesystem::path folder = dataDir() / "Garden";

    // New webcam: its address, its name, a refresh of one second (nine fields further), OK.
    WebcamsMenuItem(kNew);
    const std::string editor = desktop_->WaitForWindow("^Créer une nouvelle webcam$");
    ASSERT_FALSE(editor.empty()) << OvlLog();
    ASSERT_TRUE(desktop_->Focus(editor));
    ASSERT_TRUE(desktop_->Keys({"ctrl+a"}));
    ASSERT_TRUE(desktop_->Type(Url("garden.jpg")));
    ASSERT_TRUE(desktop_->Keys({"Tab", "ctrl+a"}));
    ASSERT_TRUE(desktop_->Type("Garden"));
    ASSERT_TRUE(desktop_->Keys({"Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "ctrl+a"}));
    ASSERT_TRUE(desktop_->Type("1"));
    ASSERT_TRUE(desktop_->Keys({"Return"}));
    const std::vector<std::string> garden{"Garden"};
    ASSERT_TRUE(testsupport::WaitFor([&] { return StoredNames(definitions) == garden; }, 10s)) << OvlLog();
    Shot("created");

    WebcamsMenuItem(kStartAll);
    EXPECT_TRUE(ScreenShows("running", [&](const testsupport::Screenshot& shot) {
        return HasPicture(folder) && shot.CountNear(kRed) >= kThumbnailPixels;
    })) << OvlLog();

    // Stopped: the camera is asked no more, though its refresh is one second.
    WebcamsMenuItem(kStopAll);
    std::this_thread::sleep_for(1500ms);  // a request under way when the stop came ends first
    const int requests = Requests("garden.jpg");
    EXPECT_GE(requests, 1);
    std::this_thread::sleep_for(3s);
    EXPECT_EQ(Requests("garden.jpg"), requests);
    Shot("stopped");

    // Deleted with its pictures: the webcam is chosen in the grid (its cell is the first), then
    // the record, the folder and the thumbnail go.
    ASSERT_TRUE(desktop_->Click(mainWindow_, 50, 120));
    WebcamsMenuItem(kDeleteCurrent);
    AnswerYes();  // delete the webcam?
    AnswerYes();  // and its pictures?
    const auto gone = [&] { return StoredNames(definitions).empty() && !std::filesystem::exists(folder); };
    EXPECT_TRUE(testsupport::WaitFor(gone, 10s)) << OvlLog();
    EXPECT_TRUE(ScreenShows("deleted", [](const testsupport::Screenshot& shot) { return shot.WidestRun(kRed) < 20; }))
        << OvlLog();
    StopOvl();
}

}  // namespace
}  // namespace wholeprogram
