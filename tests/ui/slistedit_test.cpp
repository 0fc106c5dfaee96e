#include "ui/saverlist/slistedit.h"

#include "tests/support/temp_dir.h"
#include "tests/ui/dialog_test_support.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>

#include <filesystem>
#include <system_error>

namespace {

using dialogtest::Child;
using Program = ui::Tslistedit::Program;

constexpr std::size_t kRecordSize = sizeof(engine::TWebcamDefRec);
constexpr std::size_t kFlagOffset = offsetof(engine::TWebcamDefRec, InSaverList);

engine::TWebcamDefRec Record(const std::string& url, const std::string& description, std::uint8_t inSaverList) {
    auto rec = engine::ZeroRecord<engine::TWebcamDefRec>();
    // Bytes the editor has no business with, so that a rewrite of more than the flag shows.
    std::memset(&rec, 0x5A, sizeof rec);
    rec.PictureURL = url;
    rec.Description = description;
    rec.InSaverList = inSaverList;
    return rec;
}

std::string Bytes(const std::vector<engine::TWebcamDefRec>& records) {
    std::string bytes;
    for (const auto& rec : records) bytes.append(reinterpret_cast<const char*>(&rec), sizeof rec);
    return bytes;
}

void Select(QListWidget& list, const QStringList& texts) {
    for (int row = 0; row < list.count(); ++row) list.item(row)->setSelected(texts.contains(list.item(row)->text()));
}

ui::Tslistedit& EditorOf(Program program) {
    return program == Program::Ovl ? ui::slistedit() : ui::saverslistedit();
}

class TslisteditTest : public ::testing::Test {
protected:
    void WriteRecords(const std::vector<engine::TWebcamDefRec>& records) {
        testsupport::WriteFile(defFile(), Bytes(records));
    }
    std::string defFile() const { return temp_.folder() + "webcams.def"; }
    std::string ReadDef() const { return testsupport::ReadFile(defFile()); }

    testsupport::TempDir temp_;
    const std::vector<engine::TWebcamDefRec> records_ = {
        Record("http://a/cam.jpg", "Plage", 1),
        Record("http://b/cam.jpg", "", 0),
        Record("http://c/cam.jpg", "Caf\xE9", 7),
        Record("http://d/cam.jpg", "Port", 0),
    };
};

struct ProgramTexts {
    Program program;
    bool showNote;
    const char* screenshot;
    const char* caption;
    const char* srcLabel;
    const char* dstLabel;
    const char* ok;
    const char* cancel;
    const char* note;
};

TEST_F(TslisteditTest, ListsEveryRecordByItsFlagAndCancelWritesNothing) {
    const std::vector<ProgramTexts> programs = {
        {Program::Ovl, false, "slistedit", "Editer la liste de webcams de l'économiseur d'écran...",
         "Liste actuelle de l'économiseur d'écran", "WebCams disponibles", "Ok", "Annuler",
         "Notez que vous pouvez églament définir les webcams de l'économiseur d'écran depuis Orvello"},
        {Program::OvlSaver, true, "slistedit-saver", "Edit Screensaver Webcam List", "Current Screensaver List :",
         "Available Webcams :", "OK", "Cancel",
         " Note : You can also edit the screensaver webcam  list from within Orvello "},
    };
    WriteRecords(records_);
    const std::string before = ReadDef();
    for (const ProgramTexts& p : programs) {
        SCOPED_TRACE(p.caption);
        ui::Tslistedit& dialog = EditorOf(p.program);
        dialogtest::WhenShown(dialog, [&] {
            EXPECT_EQ(dialog.windowTitle(), p.caption);
            EXPECT_EQ(Child<QLabel>(dialog, "SrcLabel").text(), p.srcLabel);
            EXPECT_EQ(Child<QLabel>(dialog, "DstLabel").text(), p.dstLabel);
            EXPECT_EQ(Child<QPushButton>(dialog, "OKBtn").text(), p.ok);
            EXPECT_EQ(Child<QPushButton>(dialog, "CancelBtn").text(), p.cancel);
            EXPECT_EQ(Child<QLabel>(dialog, "StaticText1").text(), p.note);
            EXPECT_EQ(Child<QLabel>(dialog, "StaticText1").isVisible(), p.showNote);
            // On the list: flag 1 and any other non-zero value; an empty description shows the URL.
            EXPECT_EQ(dialogtest::ListLines(Child<QListWidget>(dialog, "SrcList")), (QStringList{"Plage", "Café"}));
            EXPECT_EQ(dialogtest::ListLines(Child<QListWidget>(dialog, "DstList")),
                      (QStringList{"http://b/cam.jpg", "Port"}));
            for (const char* button : {"IncludeBtn", "IncAllBtn", "ExcludeBtn", "ExAllBtn"})
                EXPECT_TRUE(Child<QToolButton>(dialog, button).isEnabled()) << button;
            dialogtest::SaveScreenshot(dialog, p.screenshot);
            dialogtest::Click(dialog, "IncAllBtn");
            dialogtest::Click(dialog, "CancelBtn");
        });
        std::vector<ui::SaverListChange> changes;
        EXPECT_FALSE(dialog.EditList(temp_.folder(), p.showNote, &changes));
        EXPECT_TRUE(changes.empty());
        EXPECT_EQ(ReadDef(), before);
    }
}

TEST_F(TslisteditTest, OkRewritesOnlyTheFlagsOfMovedWebcams) {
    for (Program program : {Program::Ovl, Program::OvlSaver}) {
        SCOPED_TRACE(program == Program::Ovl ? "ovl" : "ovlsaver");
        WriteRecords(records_);
        ui::Tslistedit& dialog = EditorOf(program);
        dialogtest::WhenShown(dialog, [&] {
            auto& src = Child<QListWidget>(dialog, "SrcList");
            auto& dst = Child<QListWidget>(dialog, "DstList");
            Select(src, {"Plage"});
            dialogtest::Click(dialog, "IncludeBtn");  // ">" takes a webcam off the list
            Select(dst, {"Port"});
            dialogtest::Click(dialog, "ExcludeBtn");
            EXPECT_EQ(dialogtest::ListLines(src), (QStringList{"Café", "Port"}));
            EXPECT_EQ(dialogtest::ListLines(dst), (QStringList{"http://b/cam.jpg", "Plage"}));
            dialogtest::Click(dialog, "OKBtn");
        });
        std::vector<ui::SaverListChange> changes;
        ASSERT_TRUE(dialog.EditList(temp_.folder(), false, &changes));

        std::string want = Bytes(records_);
        want[0 * kRecordSize + kFlagOffset] = 0;
        want[3 * kRecordSize + kFlagOffset] = 1;  // the 7 of "Café" stays as it was
        EXPECT_EQ(ReadDef(), want);
        ASSERT_EQ(changes.size(), 2u);
        EXPECT_EQ(changes[0].recordNumber, 0);
        EXPECT_EQ(changes[0].pictureURL, "http://a/cam.jpg");
        EXPECT_EQ(changes[0].inSaverList, 0);
        EXPECT_EQ(changes[1].recordNumber, 3);
        EXPECT_EQ(changes[1].pictureURL, "http://d/cam.jpg");
        EXPECT_EQ(changes[1].inSaverList, 1);
    }
}

TEST_F(TslisteditTest, RecordsAreMatchedByNumberAndPictureUrl) {
    // Two webcams with one picture URL keep their own flags when nothing moves.
    const std::vector<engine::TWebcamDefRec> twins = {Record("http://same/", "On", 1), Record("http://same/", "Off", 0)};
    WriteRecords(twins);
    ui::Tslistedit& dialog = ui::slistedit();
    dialogtest::WhenShown(dialog, [&] { dialogtest::Click(dialog, "OKBtn"); });
    std::vector<ui::SaverListChange> changes;
    EXPECT_TRUE(dialog.EditList(temp_.folder(), false, &changes));
    EXPECT_TRUE(changes.empty());
    EXPECT_EQ(ReadDef(), Bytes(twins));

    // While the dialog is open the main program rewrites record 0 (same webcam, new description)
    // and a delete moves another webcam to record 1: record 0 gets its new flag and keeps the
    // new description, record 1 is not touched.
    WriteRecords(records_);
    std::vector<engine::TWebcamDefRec> meanwhile = {Record("http://a/cam.jpg", "Plage du nord", 1),
                                                    Record("http://c/cam.jpg", "Caf\xE9", 7)};
    dialogtest::WhenShown(dialog, [&] {
        dialogtest::Click(dialog, "IncAllBtn");
        testsupport::WriteFile(defFile(), Bytes(meanwhile));
        dialogtest::Click(dialog, "OKBtn");
    });
    EXPECT_TRUE(dialog.EditList(temp_.folder(), false, &changes));
    meanwhile[0].InSaverList = 0;
    EXPECT_EQ(ReadDef(), Bytes(meanwhile));
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].recordNumber, 0);
}

TEST_F(TslisteditTest, WithoutWebcamsDefOnlyTheMessageShows) {
    struct Case {
        Program program;
        std::string folder;
        const char* text;
    };
    const char* french = "Il n'y a actuellement aucune webcam de sélectionné. Exécuter Orvello et en sélectionner ?";
    const char* english = "There are no webcams currently defined. Run Orvello to define some.";
    const std::vector<Case> cases = {
        {Program::Ovl, "", french},
        {Program::Ovl, temp_.folder(), french},
        {Program::OvlSaver, "/", english},
        {Program::OvlSaver, temp_.folder(), english},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder);
        dialogtest::MessageBoxAnswerer answerer;
        EXPECT_FALSE(EditorOf(c.program).EditList(c.folder, true));
        EXPECT_EQ(answerer.texts(), QStringList{c.text});
        EXPECT_FALSE(EditorOf(c.program).isVisible());
    }
}

TEST_F(TslisteditTest, TheScreenSaverRaisesIoErrorsTheMainProgramDropsThem) {
    struct Case {
        const char* name;
        Program program;
        bool brokenBeforeShowing;  // else broken while the dialog is open
        bool raises;
    };
    const std::vector<Case> cases = {
        {"ovl, unreadable file: empty lists", Program::Ovl, true, false},
        {"ovl, file gone at OK: nothing said", Program::Ovl, false, false},
        {"ovlsaver, unreadable file", Program::OvlSaver, true, true},
        {"ovlsaver, file gone at OK", Program::OvlSaver, false, true},
    };
    // A folder where webcams.def should be: it exists, but it cannot be read or written, also
    // for root.
    const auto breakDef = [&] {
        std::filesystem::remove(defFile());
        std::filesystem::create_directory(defFile());
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(defFile());
        WriteRecords(records_);
        if (c.brokenBeforeShowing) breakDef();
        ui::Tslistedit& dialog = EditorOf(c.program);
        if (!(c.brokenBeforeShowing && c.raises)) {
            dialogtest::WhenShown(dialog, [&] {
                const int items = Child<QListWidget>(dialog, "SrcList").count() +
                                  Child<QListWidget>(dialog, "DstList").count();
                EXPECT_EQ(items, c.brokenBeforeShowing ? 0 : 4);
                dialogtest::Click(dialog, "IncAllBtn");
                if (!c.brokenBeforeShowing) breakDef();
                dialogtest::Click(dialog, "OKBtn");
            });
        }
        if (c.raises) {
            EXPECT_THROW(dialog.EditList(temp_.folder(), true), std::system_error);
        } else {
            EXPECT_TRUE(dialog.EditList(temp_.folder(), false));
        }
    }
}

TEST(SaverListFile, APartialLastRecordIsNoRecordAndNoError) {
    testsupport::TempDir temp;
    const std::string path = temp.folder() + "webcams.def";
    testsupport::WriteFile(path, Bytes({Record("http://a/", "", 0), Record("http://b/", "", 0)}) + "partial");
    const std::vector<ui::SaverListChoice> choices = {{0, "http://a/", true}, {1, "http://b/", true}, {2, "x", true}};
    // The trailing partial record is no record: the choice for it is ignored, not an error.
    const auto changes = ui::WriteSaverListFlags(path, choices, ui::IoErrors::Raise);
    ASSERT_EQ(changes.size(), 2u);
    const auto records = ui::ReadSaverListRecords(path, ui::IoErrors::Raise);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].FRec.InSaverList, 1);
    EXPECT_EQ(records[1].FRec.InSaverList, 1);
}

}  // namespace
