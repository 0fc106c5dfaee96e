// New and edited webcams: the duplicate address, the rename rule and the extra request lines.

#include "tests/ui/commands_fixture.h"

#include "engine/definition_files.h"
#include "engine/webcam_folder.h"
#include "tests/ui/dialog_test_support.h"
#include "tests/support/temp_dir.h"
#include "ui/commands/command_messages.h"
#include "ui/dialogs/record_text.h"

#include <filesystem>

namespace commandstest {
namespace {

namespace fs = std::filesystem;
using testsupport::ReadFile;
using testsupport::WriteFile;

class EditCommands : public CommandsTest {
protected:
    void SetUp() override {
        CommandsTest::SetUp();
        MakeManagerWith({"One", "Two"});
    }
};

TEST_F(EditCommands, NewWebcamWithAnAddressInUseIsRefused) {
    host_.editWebcam = [](engine::TWebcamDefRec& rec, engine::TWebcamDef1Rec&, ui::HeaderLines&) {
        EXPECT_EQ(rec.Name.view(), "Cam003");  // the defaults of a new webcam
        rec.PictureURL.assign("http://www.127.0.0.1/Two.jpg");  // the same webcam as "Two"
        rec.Name.assign("Other");
        return true;
    };
    const std::string def = ReadFile(dataDir() / engine::kWebcamsDef);
    commands_->New1Click();
    EXPECT_EQ(host_.prompts, QStringList{Said(ui::kMsgAlreadyPresent)});
    EXPECT_EQ(host_.calls, QStringList{"Tnewwebcamdlg new " + QString::fromStdString(DataFolder())});
    EXPECT_EQ(manager_->Count(), 2);
    EXPECT_EQ(ReadFile(dataDir() / engine::kWebcamsDef), def);
    EXPECT_FALSE(fs::exists(dataDir() / "Other"));
}

TEST_F(EditCommands, NewWebcamKeepsItsRequestLinesInItsOwnFolder) {
    host_.editWebcam = [](engine::TWebcamDefRec& rec, engine::TWebcamDef1Rec&, ui::HeaderLines& lines) {
        rec.PictureURL.assign("http://127.0.0.1/new.jpg");
        rec.Name.assign("New");
        lines = std::vector<std::string>{"Referer: http://127.0.0.1/"};
        return true;
    };
    commands_->New1Click();
    EXPECT_TRUE(host_.prompts.isEmpty());
    ASSERT_EQ(manager_->Count(), 3);
    EXPECT_EQ(Webcam(3).Name(), "New");
    EXPECT_EQ(StoredRecord(2).PictureURL.view(), "http://127.0.0.1/new.jpg");
    EXPECT_EQ(engine::ReadTextLines((dataDir() / "New" / "addhead.txt").string()), (std::vector<std::string>{"Referer: http://127.0.0.1/"}));
    EXPECT_EQ(host_.calls.mid(1), (QStringList{"UpdateGridRows", "RepaintGrid"}));
}

struct RefusedName {
    const char* name;
    QString message;
};

// A refused rename changes neither record and leaves the webcam stopped; no folder moves.
TEST_F(EditCommands, RenameOntoAnExistingFolderOrAnUnsafeNameIsRefused) {
    const QString cannot = Text(ui::kMsgCannotRename);
    const std::vector<RefusedName> cases = {
        {"Two", cannot + "Two" + Text(ui::kMsgFolderExists)},
        {"Stray", cannot + "Stray" + Text(ui::kMsgFolderExists)},  // a folder no webcam owns
        {"..", cannot + "..\" - Ce nom ne peut pas servir de nom de répertoire."},
        {"a/b", cannot + "a/b\" - Ce nom ne peut pas servir de nom de répertoire."},
        {"", cannot + "\" - Ce nom ne peut pas servir de nom de répertoire."},
    };
    fs::create_directories(dataDir() / "Stray");
    WriteFile(dataDir() / "One" / "addhead.txt", "X-Old: 1\n");
    const engine::TWebcamDefRec rec = StoredRecord(0);
    const engine::TWebcamDef1Rec rec2 = StoredRecord2(0);
    for (const RefusedName& c : cases) {
        SCOPED_TRACE(c.name);
        manager_->StartWebcam(1);
        host_.prompts.clear();
        host_.editWebcam = [&c](engine::TWebcamDefRec& r, engine::TWebcamDef1Rec& r2, ui::HeaderLines& lines) {
            r.Name.assign(c.name);
            r.Refresh = 5;
            r2.Favourite = 1;
            lines = std::vector<std::string>{"X-New: 1"};
            return true;
        };
        commands_->Edit2Click();
        EXPECT_EQ(host_.prompts, QStringList{"message: " + c.message});
        EXPECT_FALSE(Webcam(1).FRunning);
        EXPECT_EQ(Webcam(1).Name(), "One");
        EXPECT_EQ(Webcam(1).Rec().Refresh, 60);
        EXPECT_EQ(Webcam(1).Rec2().Favourite, 0);
        EXPECT_TRUE(dialogtest::SameBytes(rec, StoredRecord(0)));
        EXPECT_TRUE(dialogtest::SameBytes(rec2, StoredRecord2(0)));
        EXPECT_EQ(ReadFile(dataDir() / "One" / "addhead.txt"), "X-Old: 1\n");
    }
    EXPECT_TRUE(fs::is_directory(dataDir() / "One"));
    EXPECT_TRUE(fs::is_empty(dataDir() / "Stray"));
    EXPECT_FALSE(fs::exists(temp_.path() / "a"));
}

TEST_F(EditCommands, RenameMovesTheFolderWritesTheLinesThereAndRestarts) {
    WriteFile(dataDir() / "One" / "20260101120000.jpg", "picture");
    manager_->StartWebcam(1);
    host_.editWebcam = [](engine::TWebcamDefRec& r, engine::TWebcamDef1Rec& r2, ui::HeaderLines& lines) {
        r.Name.assign(ui::ToRecord(QStringLiteral("Été")));
        r2.Favourite = 1;
        lines = std::vector<std::string>{"X-New: 1"};
        return true;
    };
    commands_->Edit2Click();
    EXPECT_TRUE(host_.prompts.isEmpty());
    EXPECT_TRUE(Webcam(1).FRunning);
    EXPECT_EQ(StoredRecord(0).Name.view(), ui::ToRecord(QStringLiteral("Été")));
    EXPECT_EQ(StoredRecord2(0).Favourite, 1);
    EXPECT_FALSE(fs::exists(dataDir() / "One"));
    EXPECT_TRUE(fs::exists(dataDir() / "Été" / "20260101120000.jpg"));
    EXPECT_EQ(engine::ReadTextLines((dataDir() / "Été" / "addhead.txt").string()), (std::vector<std::string>{"X-New: 1"}));
}

TEST_F(EditCommands, CancelledEditRestartsARunningWebcamUnchanged) {
    manager_->StartWebcam(2);
    host_.current = 2;
    commands_->Edit2Click();
    EXPECT_TRUE(Webcam(2).FRunning);
    EXPECT_EQ(host_.calls, QStringList{"Tnewwebcamdlg edit " + QString::fromStdString(DataFolder())});
    EXPECT_EQ(StoredRecord(1).Name.view(), "Two");
}

TEST_F(EditCommands, CategoriesAreWrittenOnOkOnly) {
    host_.editCategories = [](engine::TWebcamDefRec& rec) {
        rec.Categories[7] = 1;
        return false;
    };
    commands_->Editwebcamcategories1Click();
    EXPECT_EQ(StoredRecord(0).Categories[7], 0);
    host_.editCategories = [](engine::TWebcamDefRec& rec) {
        rec.Categories[7] = 1;
        return true;
    };
    commands_->Editwebcamcategories1Click();
    EXPECT_EQ(StoredRecord(0).Categories[7], 1);
    EXPECT_EQ(Webcam(1).Rec().Categories[7], 1);
}

}  // namespace
}  // namespace commandstest
