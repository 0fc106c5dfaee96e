// The four deletes: their questions, the webcams left, and the files left in the data folder.

#include "tests/ui/commands_fixture.h"

#include "engine/definition_files.h"
#include "platform/settings_store.h"
#include "tests/support/temp_dir.h"
#include "ui/commands/command_messages.h"
#include "desktop/quick_bar_store.h"

#include <filesystem>

namespace commandstest {
namespace {

namespace fs = std::filesystem;
using testsupport::WriteFile;

using Handler = void (ui::WebcamCommands::*)();

// What the program itself keeps in a webcam's folder.
const std::vector<std::string> kWebcamFiles = {"20260101120000.jpg", "20260101120100.JPG", "header.txt",
                                               "header.new", "addhead.txt"};

class DeleteCommands : public CommandsTest {
protected:
    void SetUp() override {
        CommandsTest::SetUp();
        MakeManager();
        for (const char* name : {"One", "Two", "Three"}) {
            Add(name);
            for (const std::string& file : kWebcamFiles) WriteFile(dataDir() / name / file, "x");
            // A save cut off by a kill left its temporary file: the folder still goes whole.
            WriteFile(dataDir() / name / ".picture-k3Yq9Z", "x");
        }
        Webcam(1).FSelected = true;
        Webcam(2).SetEnabled(false);
    }
    // The webcams whose folder is still there, whole.
    std::vector<std::string> FoldersLeft() const {
        std::vector<std::string> left;
        for (const char* name : {"One", "Two", "Three"}) {
            bool whole = true;
            for (const std::string& file : kWebcamFiles) whole = whole && fs::exists(dataDir() / name / file);
            if (whole) left.push_back(name);
            else EXPECT_FALSE(fs::exists(dataDir() / name)) << name << " half removed";
        }
        return left;
    }
};

struct DeleteCase {
    const char* name;
    Handler handler;
    std::deque<bool> answers;
    QStringList prompts;
    std::vector<std::string> webcamsLeft;  // in the manager after its reload
    std::vector<std::string> foldersLeft;
};

TEST_F(DeleteCommands, EachDeleteAsksAndLeavesTheRightWebcamsAndFiles) {
    using C = ui::WebcamCommands;
    const QString sureOne = "ask: " + Text(ui::kMsgSureToDelete) + "One ?";
    const QString itsPictures = Asked(ui::kMsgDeleteItsPictures);
    const QString theirPictures = Asked(ui::kMsgDeleteTheirPictures);
    const std::vector<std::string> all{"One", "Two", "Three"};
    const std::vector<DeleteCase> cases = {
        {"current, pictures kept", &C::Deletecurrentwebcam1Click, {true, false}, {sureOne, itsPictures},
         {"Two", "Three"}, all},
        {"current with pictures", &C::Deletecurrentwebcam1Click, {true, true}, {sureOne, itsPictures},
         {"Two", "Three"}, {"Two", "Three"}},
        {"current, not confirmed", &C::Deletecurrentwebcam1Click, {false}, {sureOne}, all, all},
        {"selected, pictures kept", &C::Deleteselectedwebcams1Click, {true, false},
         {Asked(ui::kMsgDeleteSelected), theirPictures}, {"Two", "Three"}, all},
        {"selected with pictures", &C::Deleteselectedwebcams1Click, {true, true},
         {Asked(ui::kMsgDeleteSelected), theirPictures}, {"Two", "Three"}, {"Two", "Three"}},
        {"selected, not confirmed", &C::Deleteselectedwebcams1Click, {false}, {Asked(ui::kMsgDeleteSelected)}, all,
         all},
        {"disabled with pictures", &C::Deletedisabledwebcams1Click, {true, true},
         {Asked(ui::kMsgDeleteDisabled), theirPictures}, {"One", "Three"}, {"One", "Three"}},
        {"all, pictures kept", &C::Deleteallwebcams1Click, {true, false}, {Asked(ui::kMsgDeleteAll), theirPictures},
         {}, all},
        {"all with pictures", &C::Deleteallwebcams1Click, {true, true}, {Asked(ui::kMsgDeleteAll), theirPictures},
         {}, {}},
    };
    for (const DeleteCase& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        fs::remove_all(dataDir());
        host_ = FakeHost();
        SetUp();
        WriteFile(dataDir() / "Stray" / "mine.jpg", "not a webcam's");
        host_.answers = c.answers;
        (commands_.get()->*c.handler)();
        EXPECT_EQ(host_.prompts, c.prompts);
        EXPECT_EQ(Names(), c.webcamsLeft);
        EXPECT_EQ(FoldersLeft(), c.foldersLeft);
        EXPECT_TRUE(fs::exists(dataDir() / "Stray" / "mine.jpg"));
        // The files agree with the manager: a new manager reads the same webcams.
        MakeManager();
        manager_->LoadFromFolder(DataFolder());
        EXPECT_EQ(Names(), c.webcamsLeft);
        if (c.prompts.size() > 1)  // confirmed: the window shows the reloaded list
            EXPECT_EQ(host_.calls.mid(host_.calls.size() - 5),
                      (QStringList{"ShowWebcam 1", "MarkCurrentWebcam 1", "UpdateGridRows", "RepaintGrid",
                                   "default cursor"}));
        else
            EXPECT_TRUE(host_.calls.isEmpty());
    }
}

// Only a webcam's own folder is emptied and removed; what the program did not put there stays,
// and the user is told to remove the folder by hand.
TEST_F(DeleteCommands, FoldersThatAreNotTheWebcamsOwnAreLeftAlone) {
    WriteFile(dataDir() / "One" / "notes.txt", "the user's");
    fs::create_directories(temp_.path() / "elsewhere");
    WriteFile(temp_.path() / "elsewhere" / "20260101120000.jpg", "outside");
    fs::remove_all(dataDir() / "Three");
    fs::create_directory_symlink(temp_.path() / "elsewhere", dataDir() / "Three");
    Webcam(3).FSelected = true;
    // A name that is no folder name, as a hand-edited definition file may hold.
    auto rec = engine::ZeroRecord<engine::TWebcamDefRec>();
    rec.PictureURL.assign("http://127.0.0.1/up.jpg");
    rec.Name.assign("..");
    rec.Enabled = 1;
    manager_->AppendWebcam(rec, engine::ZeroRecord<engine::TWebcamDef1Rec>(), true).FSelected = true;
    WriteFile(temp_.path() / "20260101120000.jpg", "above the data folder");

    host_.answers = {true, true};
    commands_->Deleteselectedwebcams1Click();
    const QString problem = Text(ui::kMsgProblem), byHand = Text(ui::kMsgRemoveByHand);
    const QString data = QString::fromStdString(DataFolder());
    EXPECT_EQ(host_.prompts.mid(2), (QStringList{"message: " + problem + data + "One" + byHand,
                                                 "message: " + problem + data + "Three" + byHand,
                                                 "message: " + problem + data + ".." + byHand}));
    EXPECT_EQ(Names(), std::vector<std::string>{"Two"});
    EXPECT_EQ(testsupport::ReadFile(dataDir() / "One" / "notes.txt"), "the user's");
    EXPECT_FALSE(fs::exists(dataDir() / "One" / "20260101120000.jpg"));
    EXPECT_FALSE(fs::exists(dataDir() / "One" / "addhead.txt"));
    EXPECT_TRUE(fs::exists(temp_.path() / "elsewhere" / "20260101120000.jpg"));
    EXPECT_TRUE(fs::exists(temp_.path() / "20260101120000.jpg"));
}

TEST_F(DeleteCommands, DeleteAllForgetsTheQuickBarButtons) {
    {
        platform::SettingsKey bar(desktop::kQuickBarKey, true);
        bar.WriteString("0", "One");
        bar.WriteString("1", "Three");
        bar.WriteBinary("DOROZADATA", "12345678", 8);
    }
    host_.answers = {true, false};
    commands_->Deleteallwebcams1Click();
    ASSERT_TRUE(platform::SettingsKey::KeyExists(desktop::kQuickBarKey));
    EXPECT_TRUE(platform::SettingsKey(desktop::kQuickBarKey, false).ValueNames().empty());
    EXPECT_FALSE(fs::exists(dataDir() / engine::kWebcamsDef));
    EXPECT_FALSE(fs::exists(dataDir() / engine::kWebcams1Def));
}

TEST_F(DeleteCommands, DeleteSelectedLeavesTheQuickBarStoreAlone) {
    {
        platform::SettingsKey bar(desktop::kQuickBarKey, true);
        bar.WriteString("0", "Two");
    }
    host_.answers = {true, true};
    commands_->Deleteselectedwebcams1Click();
    EXPECT_EQ(platform::SettingsKey(desktop::kQuickBarKey, false).ReadString("0"), "Two");
}

}  // namespace
}  // namespace commandstest
