// Webcams from a list into the manager: the naming and settings of AddListEntry, and the list
// manager adding all or the selected entries, with a cancel that keeps what was added.
#include "ui/web/list_entry.h"
#include "ui/web/wclistman.h"

#include "engine/list_writer.h"
#include "platform/qt/gui_loop.h"
#include "platform/qt/scripted_prompts.h"
#include "tests/support/nginx_peer.h"
#include "tests/support/peers.h"
#include "tests/support/watchdog.h"
#include "tests/ui/commands_fixture.h"
#include "tests/ui/dialog_test_support.h"
#include "ui/dialogs/record_text.h"
#include "ui/forms/loadprog.h"
#include "ui/web/wclistdownload.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>
#include <QTimer>

#include <chrono>

#include <filesystem>

namespace commandstest {
namespace {

using dialogtest::Child;

engine::twebcamstaticobject Entry(const std::string& url, const std::string& name, const std::string& description) {
    engine::twebcamstaticobject entry;
    entry.FRec = engine::ZeroRecord<engine::TWebcamDefRec>();
    entry.FRec2 = engine::ZeroRecord<engine::TWebcamDef1Rec>();
    entry.FRec.PictureURL = url;
    entry.FRec.Name = name;
    entry.FRec.Description = description;
    entry.FRec.Refresh = -1;
    return entry;
}

class ListEntryTest : public CommandsTest {
protected:
    ui::AutoCreateSettings Settings() const { return {Extra1, DiskMan}; }
    int next_ = 0;
    // Adds an entry with a fresh URL and returns the new webcam's name.
    std::string AddedName(const std::string& name, const std::string& description) {
        const int index =
            ui::AddListEntry(*manager_, Entry("http://cams/" + std::to_string(++next_), name, description), Settings());
        if (index < 1) return "refused";
        return Webcam(index).Name();
    }
};

TEST_F(ListEntryTest, NamesComeFromTheListTheOneWordDescriptionOrTheDefault) {
    MakeManager();
    std::filesystem::create_directories(dataDir() / "Taken");
    std::filesystem::create_directories(dataDir() / "Lyon");
    Extra1.OneWordNames = 1;
    struct Case {
        const char* name;
        const char* description;
        std::string want;
    };
    const std::vector<Case> cases = {
        {"Cam001", "Paris", "Paris"},
        {"CAMERA", " Nice\t", "Nice"},              // trimmed
        {"cam002", "Lyon", "cam002"},               // a folder has that name
        {"Cam003", "Paris France", "Cam003"},       // two words
        {"Cam004", "../etc", "Cam004"},             // not a folder name
        {"Cam005", "", "Cam005"},
        {"Harbour", "Oslo", "Harbour"},             // not a "cam" name
        {"Taken", "Bergen", "Cam"},                 // its folder exists: the next free number
        {"", "Rome", "Rome"},                       // the default name is a "cam" name too
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string name = AddedName(c.name, c.description);
        if (c.want == "Cam") EXPECT_TRUE(name.size() == 6 && name.rfind("Cam", 0) == 0) << name;
        else EXPECT_EQ(name, c.want);
    }
    Extra1.OneWordNames = 0;
    EXPECT_EQ(AddedName("Cam009", "Madrid"), "Cam009");
}

TEST_F(ListEntryTest, SettingsComeFromTheEntryAndTheAutomaticCreationDefaults) {
    MakeManager();
    Extra1.AutoRefresh = 45;
    Extra1.AutoSaveMode = 254;
    DiskMan.NoIfModifiedSince = 0x0101;
    DiskMan.OneWordPrefix = 1;
    engine::twebcamstaticobject entry = Entry("http://cams/garden.jpg", "Garden", "Jardin");
    entry.FRec.Categories[3] = 1;
    entry.FRec.SendLogin = 1;
    entry.FRec.UserName = "me";
    entry.FRec.WebcamType = engine::kWebcamTypeStream;
    entry.FRec2.PlaceName = "Kew";
    entry.FHeaderLines = std::vector<std::string>{"Cookie: a=1"};
    const int index = ui::AddListEntry(*manager_, entry, {Extra1, DiskMan});
    ASSERT_EQ(index, 1);
    const engine::TWebcamDefRec rec = StoredRecord(0);
    EXPECT_EQ(rec.Name.str(), "Garden");
    EXPECT_EQ(rec.Refresh, 45);  // -1 in the list
    EXPECT_EQ(rec.SaveMode, 254);
    EXPECT_EQ(rec.HeadCheck, 1);
    EXPECT_EQ(rec.Enabled, 1);
    EXPECT_EQ(rec.Categories[3], 1);
    EXPECT_EQ(rec.SendLogin, 1);
    EXPECT_EQ(rec.UserName.str(), "me");
    EXPECT_EQ(rec.WebcamType, engine::kWebcamTypeStream);
    const engine::TWebcamDef1Rec rec2 = StoredRecord2(0);
    EXPECT_EQ(rec2.PlaceName.str(), "Kew");
    EXPECT_EQ(rec2.FilePrefix.str(), "Jardin");
    EXPECT_EQ(testsupport::ReadFile(dataDir() / "Garden" / "addhead.txt"), "Cookie: a=1\r\n");
    // The same picture address again: nothing added.
    EXPECT_EQ(ui::AddListEntry(*manager_, entry, {Extra1, DiskMan}), -1);
    EXPECT_EQ(manager_->Count(), 1);
}

TEST_F(ListEntryTest, PrefixFromTheDescriptionOnlyWhenSafeAndWithoutDigits) {
    MakeManager();
    DiskMan.OneWordPrefix = 1;
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"Oslo", "Oslo"}, {"Oslo2", ""}, {"a/b", ""}, {"Two words", ""}, {"..", ""}};
    int n = 0;
    for (const auto& [description, prefix] : cases) {
        SCOPED_TRACE(description);
        const int index = ui::AddListEntry(*manager_, Entry("http://p/" + std::to_string(n++), "", description),
                                           {Extra1, DiskMan});
        ASSERT_GE(index, 1);
        EXPECT_EQ(Webcam(index).Rec2().FilePrefix.str(), prefix);
    }
}

// The list manager over a list file of three webcams, one of them already present.
class ListManagerTest : public CommandsTest {
protected:
    void SetUp() override {
        CommandsTest::SetUp();
        MakeManager();
        Add("Present");  // http://127.0.0.1/Present.jpg
        std::string text = "ENCODE\n";
        for (const auto& [url, description] : std::vector<std::pair<std::string, std::string>>{
                 {"http://127.0.0.1/Present.jpg", "Present"},
                 {"http://cams/b.jpg", "Bravo"},
                 {"http://cams/a.jpg", "alpha"}})
            text += "START\nPREF=" + url + "\nDESC=" + description + "\nREFR=30\nENDWC\n";
        list_ = (programDir() / "europe.txt").string();
        testsupport::WriteFile(list_, text);
        testsupport::WriteFile(programDir() / "downloaded.txt", "Europe - " + list_ + "\n");
        Config.ListFile = list_;
    }
    bool Run(const std::function<void(ui::Twclistman&)>& action) {
        ui::Twclistman& dialog = ui::wclistman();
        dialogtest::WhenShown(dialog, [&] {
            action(dialog);
            dialog.accept();
        });
        const ui::AutoCreateSettings settings{Extra1, DiskMan};
        return dialog.Execute(*manager_, Config, settings, [this] { ++options_; }, programDir().string() + "/");
    }
    std::string list_;
    int options_ = 0;
    platform::ScriptedPrompts prompts_;
};

TEST_F(ListManagerTest, AddsEveryWebcamAndCountsTheDuplicate) {
    const bool added = Run([&](ui::Twclistman& dialog) {
        EXPECT_EQ(Child<QComboBox>(dialog, "ComboBox2").currentText(), QString::fromStdString("Europe - " + list_));
        EXPECT_EQ(Child<QLabel>(dialog, "Label3").text(), Text(65292) + "3");
        // Sorted by the text shown, whatever the letter case, as "downloaded.txt" is.
        EXPECT_EQ(dialogtest::ListLines(Child<QListWidget>(dialog, "ListBox1")),
                  (QStringList{"alpha", "Bravo", "Present"}));
        dialogtest::SaveScreenshot(dialog, "wclistman");
        dialogtest::Click(dialog, "Button4");
        dialogtest::Click(dialog, "Button3");
    });
    EXPECT_TRUE(added);
    EXPECT_EQ(options_, 1);
    EXPECT_EQ(Names(), (std::vector<std::string>{"Present", "Cam002", "Cam003"}));
    EXPECT_EQ(prompts_.shown, QStringList{"2 " + Text(65295) + " 1 " + Text(65264)});
    EXPECT_EQ(Config.ListFile.str(), list_);
}

TEST_F(ListManagerTest, CancelKeepsTheWebcamsAddedAndStillReports) {
    const bool added = Run([&](ui::Twclistman& dialog) {
        // "Annuler" of the progress form is pressed while the first webcam is added.
        QTimer::singleShot(0, [] { dialogtest::Click(ui::loadprog(), "Button1"); });
        dialogtest::Click(dialog, "Button3");
        EXPECT_FALSE(ui::loadprog().isVisible());
    });
    EXPECT_TRUE(added);
    EXPECT_EQ(Names(), (std::vector<std::string>{"Present", "Cam002"}));
    EXPECT_EQ(prompts_.shown, QStringList{"1 " + Text(65294)});
}

TEST_F(ListManagerTest, SelectionAndCategoryFilter) {
    const bool added = Run([&](ui::Twclistman& dialog) {
        auto& list = Child<QListWidget>(dialog, "ListBox1");
        dialogtest::Click(dialog, "Button2");  // nothing selected
        list.item(1)->setSelected(true);       // "Bravo"
        dialogtest::Click(dialog, "Button2");
        auto& categories = Child<QComboBox>(dialog, "ComboBox1");
        categories.setCurrentIndex(categories.findData(5));  // no entry has category 5
        EXPECT_EQ(list.count(), 0);
        dialogtest::Click(dialog, "Button3");
    });
    EXPECT_TRUE(added);
    EXPECT_EQ(Names(), (std::vector<std::string>{"Present", "Cam002"}));
    EXPECT_EQ(Webcam(2).Rec().Description.str(), "Bravo");
    EXPECT_EQ(prompts_.shown, (QStringList{Text(65293), "1 " + Text(65294), Text(65265)}));
}

// A list of 100 000 webcams: the dialog is shown before its list box holds them all (it fills in
// steps), "Rajouter toutes les webcams" adds every one, not only the lines shown so far, and
// the event loop runs while they are added. Each add once looked at every webcam before it.
TEST_F(ListManagerTest, AHundredThousandWebcamsAreAddedWholeWithTheWindowAnswering) {
    const testsupport::Watchdog watchdog(std::chrono::seconds(600));
    constexpr int kWebcams = 100000;
    std::string text = "ENCODE\n";
    for (int i = 0; i < kWebcams; ++i) {
        const std::string n = std::to_string(i);
        text += "START\nPREF=http://cams" + std::to_string(i % 97) + ".example/" + n + ".jpg\nDESC=Cam " + n +
                "\nREFR=30\nENDWC\n";
    }
    testsupport::WriteFile(list_, text);
    int shownAtOpen = -1, countWhileAdding = -1;
    QWidget* modalWhileAdding = nullptr;
    const bool added = Run([&](ui::Twclistman& dialog) {
        auto& list = Child<QListWidget>(dialog, "ListBox1");
        auto& categories = Child<QComboBox>(dialog, "ComboBox1");
        categories.setCurrentIndex(categories.findData(0));  // every category, whatever a test before chose
        shownAtOpen = list.count();
        QTimer::singleShot(0, [&] {
            countWhileAdding = manager_->Count();
            modalWhileAdding = QApplication::activeModalWidget();  // nothing else takes input meanwhile
        });
        dialogtest::Click(dialog, "Button3");
        EXPECT_EQ(Child<QLabel>(dialog, "Label3").text(), Text(65292) + QString::number(kWebcams));
        while (list.count() < kWebcams) QCoreApplication::processEvents();
        EXPECT_EQ(list.item(0)->text(), QStringLiteral("Cam 0"));
        EXPECT_EQ(list.item(kWebcams - 1)->text(), QStringLiteral("Cam 99999"));
    });
    EXPECT_TRUE(added);
    EXPECT_GT(shownAtOpen, 0);
    EXPECT_LT(shownAtOpen, kWebcams);
    EXPECT_GT(countWhileAdding, 1);
    EXPECT_LT(countWhileAdding, kWebcams + 1);
    EXPECT_EQ(modalWhileAdding, &ui::loadprog());
    EXPECT_EQ(manager_->Count(), kWebcams + 1);
    EXPECT_EQ(Webcam(kWebcams + 1).Rec().PictureURL.str(), "http://cams" + std::to_string((kWebcams - 1) % 97) + ".example/" + std::to_string(kWebcams - 1) + ".jpg");
    EXPECT_EQ(prompts_.shown, QStringList{QString::number(kWebcams) + " " + Text(65294)});
}

TEST_F(ListManagerTest, ListThatCannotBeReadShowsEmptyAndNothingIsAdded) {
    Config.ListFile = (programDir() / "gone.txt").string();
    std::filesystem::remove(programDir() / "downloaded.txt");
    const bool added = Run([&](ui::Twclistman& dialog) {
        EXPECT_EQ(Child<QLabel>(dialog, "Label3").text(), Text(65292) + "0");
        dialogtest::Click(dialog, "Button3");
    });
    EXPECT_FALSE(added);
    EXPECT_EQ(prompts_.shown, (QStringList{Text(65291), Text(65265)}));
    EXPECT_EQ(manager_->Count(), 1);
}

TEST_F(ListManagerTest, OpensEveryListTheDownloadSavedWhateverItsName) {
    ORVELLO_NEED_PEER("nginx");
    testsupport::NginxPeer nginx(temp_.path() / "nginx");
    ASSERT_TRUE(nginx.Running());
    const std::vector<std::string> names = {"/etc/passwd", "../../etc/x", "..", "Ctl\x01\x1f\x7fname",
                                            "A - /tmp/x", "-b - c"};
    std::string index;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string file = "list" + std::to_string(i) + ".txt";
        testsupport::WriteFile(nginx.root() / file, "ENCODE\nSTART\nPREF=http://cams/" + std::to_string(i) +
                                                        ".jpg\nDESC=Webcam " + std::to_string(i) + "\nENDWC\n");
        index += names[i] + "," + nginx.Url("/" + file) + "\r\n";
    }
    testsupport::WriteFile(nginx.root() / "wclist24url.txt", index);
    platform::GuiEventBridge bridge;
    ui::ListDownloadServices services;
    services.programFolder = programDir().string() + "/";
    ui::Twclistdownload& download = ui::wclistdownload();
    dialogtest::WhenTrue([&] { return Child<QLabel>(download, "Label1").text() != Text(65169); }, [&] {
        auto& list = Child<QListWidget>(download, "ListBox1");
        for (int row = 0; row < list.count(); ++row) {
            list.setCurrentRow(row);
            emit list.itemDoubleClicked(list.item(row));
        }
        static_cast<QDialog&>(download).done(QDialog::Rejected);
    });
    download.Execute(nginx.Url("/wclist24url.txt"), services);

    // Each downloaded list, chosen in the manager, shows its one webcam.
    QStringList shown;
    Run([&](ui::Twclistman& dialog) {
        auto& categories = Child<QComboBox>(dialog, "ComboBox1");
        categories.setCurrentIndex(categories.findData(0));  // every category
        auto& lists = Child<QComboBox>(dialog, "ComboBox2");
        for (int i = 0; i < lists.count(); ++i) {
            lists.setCurrentIndex(i);
            emit lists.activated(i);
            if (lists.currentText().startsWith("Europe - ")) continue;
            SCOPED_TRACE(lists.currentText().toStdString());
            EXPECT_EQ(Child<QLabel>(dialog, "Label3").text(), Text(65292) + "1");
            shown += dialogtest::ListLines(Child<QListWidget>(dialog, "ListBox1"));
        }
    });
    shown.sort();
    EXPECT_EQ(shown, (QStringList{"Webcam 0", "Webcam 1", "Webcam 2", "Webcam 3", "Webcam 4", "Webcam 5"}));
    EXPECT_FALSE(prompts_.shown.contains(Text(65291))) << prompts_.shown.join("\n").toStdString();
    for (const auto& entry : std::filesystem::recursive_directory_iterator(temp_.path()))
        if (entry.path().extension() == ".txt" && entry.path().parent_path() != programDir())
            EXPECT_EQ(entry.path().string().find(nginx.root().string()), 0u) << entry.path();
}

TEST_F(ListManagerTest, OpeningADatListWarnsThatItMayTakeLong) {
    const std::string dat = (programDir() / "cams.dat").string();
    testsupport::WriteFile(dat, std::string("\0junk http://cams/a.jpg junk http://cams/b.jpg", 46));
    prompts_.paths = {QString::fromStdString(dat)};
    Run([&](ui::Twclistman& dialog) {
        prompts_.shown.clear();
        dialogtest::Click(dialog, "Button1");
        EXPECT_EQ(Child<QLabel>(dialog, "Label3").text(), Text(65292) + "2");
    });
    EXPECT_EQ(prompts_.shown,
              (QStringList{"Sélectionner le fichier qui contient la liste des caméras", Text(65116)}));
}

}  // namespace
}  // namespace commandstest
