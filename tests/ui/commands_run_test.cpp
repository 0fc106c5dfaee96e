// Starting, stopping, enabling and disabling webcams through the commands.

#include "tests/ui/commands_fixture.h"

#include "ui/grid/run_state.h"

namespace commandstest {
namespace {

class RunCommands : public CommandsTest {
protected:
    void SetUp() override {
        CommandsTest::SetUp();
        MakeManagerWith({"One", "Two", "Three"});
    }
    std::vector<bool> Running() {
        std::vector<bool> running;
        for (int i = 1; i <= manager_->Count(); ++i) running.push_back(Webcam(i).FRunning);
        return running;
    }
};

TEST_F(RunCommands, StartAllStartsEveryWebcamAndClearsStopRequested) {
    StopRequested = true;
    ShiftState = ui::ssShift;
    commands_->ToolButton8Click();
    EXPECT_EQ(Running(), (std::vector<bool>{true, true, true}));
    EXPECT_EQ(host_.calls, (QStringList{"SetRunState 4", "hourglass", "ShowWebcamInfo", "UpdateTrayHint",
                                        "default cursor"}));
    EXPECT_FALSE(StopRequested);
    EXPECT_FALSE(Starting);
    EXPECT_EQ(ShiftState, 0);
    EXPECT_TRUE(host_.prompts.isEmpty());
}

TEST_F(RunCommands, AStartDuringAStartDoesNothing) {
    Starting = true;
    commands_->ToolButton8Click();
    commands_->Startselectedwebcams1Click();
    commands_->StartFavorites1Click();
    EXPECT_EQ(manager_->RunningCount(), 0);
    EXPECT_TRUE(host_.calls.isEmpty());
    EXPECT_TRUE(Starting);
}

TEST_F(RunCommands, StartWhenNothingStartsEndsWithNoWebcamRunning) {
    commands_->Startselectedwebcams1Click();  // none selected
    EXPECT_EQ(host_.calls, (QStringList{"SetRunState 4", "hourglass", "ShowWebcamInfo", "UpdateTrayHint",
                                        "SetRunState 5", "default cursor"}));
}

TEST_F(RunCommands, StopAllStopsBehindTheWaitForm) {
    manager_->StartAll();
    commands_->ToolButton9Click();
    EXPECT_EQ(Running(), (std::vector<bool>{false, false, false}));
    EXPECT_EQ(host_.calls, (QStringList{"hourglass", "wait form shown", "wait form hidden", "default cursor",
                                        "SetRunState 5", "ShowWebcamInfo", "UpdateStatusGauges", "UpdateTrayHint"}));
    EXPECT_TRUE(StopRequested);
    EXPECT_FALSE(Stopping);
}

// The picture copy and the movie export end on StopRequested, also when no webcam runs.
TEST_F(RunCommands, StopAllWithNoWebcamRunningStillRequestsTheStop) {
    commands_->ToolButton9Click();
    EXPECT_TRUE(StopRequested);
    EXPECT_EQ(host_.calls, (QStringList{"SetRunState 5", "ShowWebcamInfo", "UpdateStatusGauges", "UpdateTrayHint"}));
}

TEST_F(RunCommands, AStopDuringAStopOnlyRequestsIt) {
    manager_->StartAll();
    Stopping = true;
    commands_->ToolButton9Click();
    commands_->Stopselectedwebcams1Click();
    EXPECT_TRUE(StopRequested);
    EXPECT_TRUE(host_.calls.isEmpty());
    EXPECT_EQ(manager_->RunningCount(), 3);
}

TEST_F(RunCommands, StopSelectedKeepsTheOthersRunning) {
    manager_->StartAll();
    Webcam(2).FSelected = true;
    commands_->Stopselectedwebcams1Click();
    EXPECT_EQ(Running(), (std::vector<bool>{true, false, true}));
    EXPECT_TRUE(StopRequested);
    EXPECT_FALSE(host_.calls.contains("SetRunState 5"));  // others still run
}

TEST_F(RunCommands, StartAndStopCurrentActOnTheCurrentWebcamOnly) {
    host_.current = 2;
    commands_->ToolButton13Click();
    EXPECT_EQ(Running(), (std::vector<bool>{false, true, false}));
    EXPECT_EQ(host_.calls, (QStringList{"SetRunState 4", "ShowWebcamInfo", "UpdateTrayHint"}));
    host_.calls.clear();
    commands_->ToolButton14Click();
    EXPECT_EQ(Running(), (std::vector<bool>{false, false, false}));
    EXPECT_EQ(host_.calls, (QStringList{"ShowWebcamInfo", "UpdateTrayHint", "SetRunState 5"}));
    EXPECT_FALSE(StopRequested);  // a single stop does not end the picture loops
}

TEST_F(RunCommands, DisablingStopsAndIsWrittenAtOnce) {
    manager_->StartAll();
    Webcam(1).FSelected = true;
    Webcam(3).FSelected = true;
    commands_->Disableselectedwebcams1Click();
    EXPECT_EQ(Running(), (std::vector<bool>{false, true, false}));
    EXPECT_EQ(StoredRecord(0).Enabled, 0);
    EXPECT_EQ(StoredRecord(1).Enabled, 1);
    EXPECT_EQ(StoredRecord(2).Enabled, 0);
    EXPECT_EQ(host_.calls, (QStringList{"ShowWebcamInfo", "RepaintGrid"}));

    host_.calls.clear();
    host_.current = 2;
    commands_->ToolButton19Click();  // disable current: the last running one
    EXPECT_EQ(manager_->RunningCount(), 0);
    EXPECT_EQ(StoredRecord(1).Enabled, 0);
    EXPECT_EQ(host_.calls, (QStringList{"UpdateTrayHint", "ShowWebcamInfo", "RepaintGrid"}));

    host_.calls.clear();
    commands_->Enableallwebcams1Click();
    for (int n = 0; n < 3; ++n) EXPECT_EQ(StoredRecord(n).Enabled, 1);
    commands_->Disableallwebcams1Click();
    for (int n = 0; n < 3; ++n) EXPECT_EQ(StoredRecord(n).Enabled, 0);
    EXPECT_EQ(host_.calls, (QStringList{"ShowWebcamInfo", "RepaintGrid", "ShowWebcamInfo", "RepaintGrid",
                                        "SetRunState 5"}));
}

TEST_F(RunCommands, StartFavouritesStartsOnlyFavourites) {
    Webcam(3).SetFavourite(true);
    commands_->StartFavorites1Click();
    EXPECT_EQ(Running(), (std::vector<bool>{false, false, true}));
}

}  // namespace
}  // namespace commandstest
