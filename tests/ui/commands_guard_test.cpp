// The guards of the commands: with nothing to act on, the message that says so and nothing
// else; with a webcam running, the commands that change the list refuse.

#include "tests/ui/commands_fixture.h"

#include "engine/definition_files.h"
#include "tests/support/temp_dir.h"
#include "ui/commands/command_messages.h"

#include <filesystem>

namespace commandstest {
namespace {

using Handler = void (ui::WebcamCommands::*)();

struct GuardCase {
    const char* name;
    Handler handler;
    QStringList prompts;
};

QStringList None() { return {}; }

class CommandGuards : public CommandsTest {};

TEST_F(CommandGuards, WithoutWebcamsEachCommandSaysSoAndDoesNothing) {
    using C = ui::WebcamCommands;
    const QStringList noneSelected{Said(ui::kMsgNoWebcamSelected)};
    const QStringList nothingToStop{Said(ui::kMsgNothingToStop)};
    const std::vector<GuardCase> cases = {
        {"start all", &C::ToolButton8Click, {Asked(ui::kMsgAddFromList)}},
        {"start current", &C::ToolButton13Click, {Asked(ui::kMsgAddFromList)}},
        {"start selected", &C::Startselectedwebcams1Click, {Said(ui::kMsgNothingToStart)}},
        {"start favourites", &C::StartFavorites1Click, None()},
        {"stop all", &C::ToolButton9Click, nothingToStop},
        {"stop current", &C::ToolButton14Click, nothingToStop},
        {"stop selected", &C::Stopselectedwebcams1Click, nothingToStop},
        {"enable current", &C::ToolButton20Click, noneSelected},
        {"disable current", &C::ToolButton19Click, noneSelected},
        {"enable selected", &C::Enableselectedwebcams1Click, noneSelected},
        {"disable selected", &C::Disableselectedwebcams1Click, noneSelected},
        {"enable all", &C::Enableallwebcams1Click, noneSelected},
        {"disable all", &C::Disableallwebcams1Click, noneSelected},
        {"edit", &C::Edit2Click, noneSelected},
        {"categories", &C::Editwebcamcategories1Click, noneSelected},
        {"delete current", &C::Deletecurrentwebcam1Click, noneSelected},
        {"delete selected", &C::Deleteselectedwebcams1Click, {Said(ui::kMsgNothingToDelete)}},
        {"delete disabled", &C::Deletedisabledwebcams1Click, {Said(ui::kMsgNothingToDelete)}},
        {"delete all", &C::Deleteallwebcams1Click, {Said(ui::kMsgNothingToDelete)}},
        {"add to saver list", &C::Addcurrentwebcamtoscreensaverlist1Click, noneSelected},
        {"change refresh", &C::Changerefreshrateforselectedwebcams1Click, noneSelected},
        {"change saving", &C::Changesavesettingsforselectedwebcams1Click, noneSelected},
        {"find", &C::SelectWebcam1Click, noneSelected},
        {"export", &C::SaveWebcamList1Click, noneSelected},
        {"open in browser", &C::Refreshclick, noneSelected},
        {"last header", &C::Showlastheader1Click, noneSelected},
    };
    MakeManager();
    for (const GuardCase& c : cases) {
        SCOPED_TRACE(c.name);
        host_.prompts.clear();
        host_.calls.clear();
        StopRequested = false;
        (commands_.get()->*c.handler)();
        EXPECT_EQ(host_.prompts, c.prompts);
        EXPECT_EQ(host_.calls, QStringList{});  // no dialog, no redraw, no run state
        EXPECT_FALSE(Starting || Stopping || StopRequested);
    }
    // Nothing was written into the data folder.
    EXPECT_TRUE(std::filesystem::is_empty(dataDir()));
}

TEST_F(CommandGuards, TheEmptyFolderQuestionOffersTheListsOnYes) {
    MakeManager();
    host_.answers = {true};
    commands_->ToolButton8Click();
    EXPECT_EQ(host_.prompts, QStringList{Asked(ui::kMsgAddFromList)});
    EXPECT_EQ(host_.calls, QStringList{"CreateWebcamsFromList"});
    EXPECT_EQ(manager_->RunningCount(), 0);
}

TEST_F(CommandGuards, ListChangesRefuseWhileAWebcamRuns) {
    using C = ui::WebcamCommands;
    const std::vector<GuardCase> cases = {
        {"new", &C::New1Click, {Said(ui::kMsgStopBeforeAdding)}},
        {"delete current", &C::Deletecurrentwebcam1Click, {Said(ui::kMsgStopBeforeDeleteOne)}},
        {"delete selected", &C::Deleteselectedwebcams1Click, {Said(ui::kMsgStopBeforeDeleteSeveral)}},
        {"delete disabled", &C::Deletedisabledwebcams1Click, {Said(ui::kMsgStopBeforeDeleteSeveral)}},
        {"delete all", &C::Deleteallwebcams1Click, {Said(ui::kMsgStopBeforeDeleteSeveral)}},
    };
    MakeManager();
    Add("One");
    Add("Two").FSelected = true;
    testsupport::WriteFile(dataDir() / "One" / "20260101120000.jpg", "picture");
    manager_->StartWebcam(1);
    const std::string def = testsupport::ReadFile(dataDir() / engine::kWebcamsDef);
    const std::string def1 = testsupport::ReadFile(dataDir() / engine::kWebcams1Def);
    host_.answers = {true, true, true, true};  // a question that came anyway would be answered Yes
    for (const GuardCase& c : cases) {
        SCOPED_TRACE(c.name);
        host_.prompts.clear();
        host_.calls.clear();
        (commands_.get()->*c.handler)();
        EXPECT_EQ(host_.prompts, c.prompts);
        EXPECT_EQ(host_.calls, QStringList{});
    }
    EXPECT_EQ(manager_->Count(), 2);
    EXPECT_TRUE(Webcam(1).FRunning);
    EXPECT_EQ(testsupport::ReadFile(dataDir() / engine::kWebcamsDef), def);
    EXPECT_EQ(testsupport::ReadFile(dataDir() / engine::kWebcams1Def), def1);
    EXPECT_TRUE(std::filesystem::exists(dataDir() / "One" / "20260101120000.jpg"));
}

}  // namespace
}  // namespace commandstest
