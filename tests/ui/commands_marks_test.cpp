// The screen-saver list, favourites, selection, the changes of the selected webcams, the global
// settings and the look-ups.

#include "tests/ui/commands_fixture.h"

#include "engine/definition_files.h"
#include "tests/support/temp_dir.h"
#include "ui/commands/command_messages.h"

#include <filesystem>

namespace commandstest {
namespace {

namespace fs = std::filesystem;

class MarkCommands : public CommandsTest {
protected:
    void SetUp() override {
        CommandsTest::SetUp();
        MakeManagerWith({"One", "Two", "Three"});
    }
};

TEST_F(MarkCommands, AddingToTheSaverListWritesTheFlagOfTheSelectedOnly) {
    commands_->Addcurrentwebcamtoscreensaverlist1Click();  // none selected: nothing, silently
    EXPECT_TRUE(host_.prompts.isEmpty());
    EXPECT_EQ(StoredRecord(0).InSaverList, 0);
    Webcam(2).FSelected = true;
    commands_->Addcurrentwebcamtoscreensaverlist1Click();
    EXPECT_EQ(StoredRecord(0).InSaverList, 0);
    EXPECT_EQ(StoredRecord(1).InSaverList, 1);
    EXPECT_EQ(StoredRecord(2).InSaverList, 0);
}

// The list editor rewrites webcams.def; a later change of the same webcam keeps its choice.
TEST_F(MarkCommands, TheSaverListEditIsKeptAfterALaterEdit) {
    host_.editSaverList = [](const std::string& dataFolder, std::vector<ui::SaverListChange>& changes) {
        const std::string file = dataFolder + engine::kWebcamsDef;
        changes = ui::WriteSaverListFlags(file, {{0, "http://127.0.0.1/One.jpg", true},
                                                 {2, "http://127.0.0.1/Three.jpg", true}},
                                          ui::IoErrors::Ignore);
        return true;
    };
    commands_->Screensaverwebcamlist1Click();
    EXPECT_EQ(host_.calls, QStringList{"Tslistedit " + QString::fromStdString(DataFolder())});
    EXPECT_EQ(Webcam(1).Rec().InSaverList, 1);
    EXPECT_EQ(Webcam(2).Rec().InSaverList, 0);
    EXPECT_EQ(Webcam(3).Rec().InSaverList, 1);

    Webcam(1).FSelected = true;
    host_.changeRefresh = [](std::int32_t& seconds, std::uint8_t&) {
        seconds = 15;
        return true;
    };
    commands_->Changerefreshrateforselectedwebcams1Click();
    host_.editCategories = [](engine::TWebcamDefRec& rec) {
        rec.Categories[3] = 1;
        return true;
    };
    host_.current = 3;
    commands_->Editwebcamcategories1Click();
    EXPECT_EQ(StoredRecord(0).Refresh, 15);
    EXPECT_EQ(StoredRecord(0).InSaverList, 1);
    EXPECT_EQ(StoredRecord(2).Categories[3], 1);
    EXPECT_EQ(StoredRecord(2).InSaverList, 1);
}

TEST_F(MarkCommands, ChangeRefreshAndSavingOfTheSelected) {
    Webcam(1).FSelected = true;
    Webcam(3).FSelected = true;
    host_.changeRefresh = [](std::int32_t& seconds, std::uint8_t& ifModifiedSince) {
        seconds = -5;
        ifModifiedSince = 0;
        return true;
    };
    commands_->Changerefreshrateforselectedwebcams1Click();
    EXPECT_EQ(host_.calls, QStringList{"Tchangerefresh 30 1"});  // the presets
    EXPECT_EQ(StoredRecord(0).Refresh, 0);                      // never below 0
    EXPECT_EQ(StoredRecord(0).HeadCheck, 1);
    EXPECT_EQ(StoredRecord(1).Refresh, 60);
    EXPECT_EQ(StoredRecord(2).Refresh, 0);

    host_.changeRefresh = [](std::int32_t& seconds, std::uint8_t&) {
        seconds = 20;
        return true;
    };
    commands_->Changerefreshrateforselectedwebcams1Click();
    EXPECT_EQ(StoredRecord(0).Refresh, 20);
    EXPECT_EQ(StoredRecord(0).HeadCheck, 0);  // If-Modified-Since on: no header check first

    host_.selectSave = [](int& mode) {
        mode = engine::kSaveOnMotion;
        return true;
    };
    commands_->Changesavesettingsforselectedwebcams1Click();
    EXPECT_EQ(StoredRecord(0).SaveMode, engine::kSaveOnMotion);
    EXPECT_EQ(StoredRecord(1).SaveMode, 0);
    EXPECT_EQ(Webcam(3).Rec().SaveMode, engine::kSaveOnMotion);
}

TEST_F(MarkCommands, FavouritesOfTheSelected) {
    Webcam(1).FSelected = true;
    Webcam(2).FSelected = true;
    Webcam(1).FResting = true;
    manager_->StartWebcam(1);
    commands_->AddselectedwebcamstoFavorites2Click();
    EXPECT_EQ(StoredRecord2(0).Favourite, 1);
    EXPECT_EQ(StoredRecord2(1).Favourite, 1);
    EXPECT_EQ(StoredRecord2(2).Favourite, 0);
    EXPECT_FALSE(Webcam(1).FResting);
    EXPECT_TRUE(Webcam(1).FRunning);  // queued again as a favourite
    EXPECT_EQ(host_.calls, QStringList{"ApplyViewFilter"});

    Webcam(1).FSelected = false;
    commands_->RemoveselectedwebcamsfromFavorites1Click();
    EXPECT_EQ(StoredRecord2(0).Favourite, 1);
    EXPECT_EQ(StoredRecord2(1).Favourite, 0);

    commands_->ClearFavorites1Click();  // answered No
    EXPECT_EQ(StoredRecord2(0).Favourite, 1);
    host_.answers = {true};
    commands_->ClearFavorites1Click();
    EXPECT_EQ(StoredRecord2(0).Favourite, 0);
    EXPECT_EQ(host_.prompts, (QStringList{Asked(ui::kMsgClearFavourites), Asked(ui::kMsgClearFavourites)}));
}

// Only the webcams the view filter shows change; each one's cell is redrawn.
TEST_F(MarkCommands, SelectNoneAndInvertLeaveHiddenWebcamsAlone) {
    manager_->ClearDisplaySlots();
    manager_->SetDisplaySlot(3, 0);
    manager_->SetDisplaySlot(1, 1);
    Webcam(1).FSelected = true;
    Webcam(2).FSelected = true;  // hidden
    commands_->InvertSelection1Click();
    EXPECT_EQ((std::vector<bool>{Webcam(1).FSelected, Webcam(2).FSelected, Webcam(3).FSelected}),
              (std::vector<bool>{false, true, true}));
    commands_->SelectNone1Click();
    EXPECT_EQ((std::vector<bool>{Webcam(1).FSelected, Webcam(2).FSelected, Webcam(3).FSelected}),
              (std::vector<bool>{false, true, false}));
    EXPECT_EQ(host_.calls, (QStringList{"RedrawWebcamCell 3", "RedrawWebcamCell 1", "RedrawWebcamCell 3",
                                        "RedrawWebcamCell 1"}));
}

struct GlobalSaveCase {
    std::uint8_t on;
    std::uint8_t mode;
    const char* text;
};

TEST_F(MarkCommands, GlobalSavingIsShownInWords) {
    const std::vector<GlobalSaveCase> cases = {
        {0, 7, "(Eteindre)"}, {1, 0, "chaque image"}, {1, 254, "Si mouvement"},
        {1, 255, "Rien"},     {1, 7, "Sauter7"},      {1, 253, "Sauter253"},
    };
    for (const GlobalSaveCase& c : cases) {
        SCOPED_TRACE(c.text);
        host_.calls.clear();
        host_.globalSave = [&c](std::uint8_t& mode, std::uint8_t& on) {
            mode = c.mode;
            on = c.on;
            return true;
        };
        commands_->GlobalSaveControl1Click();
        EXPECT_EQ(DiskMan.GlobalSaveOn, c.on);
        EXPECT_EQ(DiskMan.GlobalSaveMode, c.mode);
        EXPECT_EQ(host_.calls, (QStringList{"TGlobalsave", QStringLiteral("Edit3 ") + c.text}));
    }
}

TEST_F(MarkCommands, SlowScanAndMotionSettingsReachTheForm) {
    commands_->SlowScanInactiveWebcams1Click();
    EXPECT_EQ(Extra1.SlowScanOn, 1);
    commands_->SlowScanInactiveWebcams1Click();
    EXPECT_EQ(Extra1.SlowScanOn, 0);

    host_.current = 2;
    host_.editMotion = [](std::array<int, 6>& settings) { settings = {6, 9, 12, 0, 0, 0}; };
    commands_->MotionDetectionSettings1Click();
    EXPECT_EQ(MotionSettings, (std::array<int, 6>{6, 9, 12, 0, 0, 0}));
    ShiftState = ui::ssCtrl;
    commands_->MMLEDGauge5Click();
    EXPECT_EQ(ShiftState, 0);
    EXPECT_EQ(host_.calls, (QStringList{"Tmotionsettings 2 global", "gauge points 36", "Tmotionsettings 2 webcam",
                                        "gauge points 36"}));
}

TEST_F(MarkCommands, FindShowsAShownWebcamOrSaysItIsHidden) {
    manager_->ClearDisplaySlots();
    manager_->SetDisplaySlot(3, 0);
    host_.selectWebcam = [](int& index) {
        index = 3;
        return true;
    };
    commands_->SelectWebcam1Click();
    EXPECT_EQ(host_.calls, (QStringList{"Tselectwebcam", "ShowWebcam 3", "MarkCurrentWebcam 3"}));
    host_.calls.clear();
    host_.selectWebcam = [](int& index) {
        index = 2;
        return true;
    };
    commands_->SelectWebcam1Click();
    EXPECT_EQ(host_.prompts, QStringList{Said(ui::kMsgNotInSelection)});
    host_.selectWebcam = [](int& index) {
        index = 0;  // several marked
        return true;
    };
    commands_->SelectWebcam1Click();
    EXPECT_EQ(host_.calls, (QStringList{"Tselectwebcam", "Tselectwebcam", "ApplyViewFilter"}));
}

TEST_F(MarkCommands, OnlyAnHttpAddressOpensInTheBrowser) {
    commands_->Refreshclick();
    auto rec = Webcam(2).Rec();
    rec.PictureURL.assign("ftp://127.0.0.1/Two.jpg");
    Webcam(2).SetRecord(rec);
    host_.current = 2;
    commands_->Refreshclick();
    EXPECT_EQ(host_.calls, QStringList{"OpenUrl http://127.0.0.1/One.jpg"});
    EXPECT_EQ(host_.prompts, QStringList{Said(ui::kMsgInvalidLink)});
}

TEST_F(MarkCommands, TheLastHeaderIsShownOrSaidToBeMissing) {
    commands_->Showlastheader1Click();
    const QString path = QString::fromStdString(DataFolder()) + "One/header.txt";
    EXPECT_EQ(host_.prompts, QStringList{"message: Le fichier " + path + " n'existe pas"});
    EXPECT_TRUE(host_.calls.isEmpty());
    testsupport::WriteFile(dataDir() / "One" / "header.txt", "HTTP/1.0 200 OK\r\n");
    commands_->Showlastheader1Click();
    EXPECT_EQ(host_.calls, QStringList{"Tshowtextfile " + path + " | Header display - One"});
}

}  // namespace
}  // namespace commandstest
