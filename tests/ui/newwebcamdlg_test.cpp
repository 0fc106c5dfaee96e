#include "ui/editors/newwebcamdlg.h"

#include "ui/dialogs/record_text.h"
#include "ui/editors/addheadedit.h"
#include "ui/editors/catedit.h"

#include "tests/support/temp_dir.h"
#include "tests/ui/dialog_test_support.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSpinBox>

#include <algorithm>
#include <filesystem>
#include <functional>

namespace {

using dialogtest::Child;
using engine::String255;
using engine::TWebcamDef1Rec;
using engine::TWebcamDefRec;

struct Records {
    TWebcamDefRec rec1;
    TWebcamDef1Rec rec2;
};

// Records whose every byte is set, so that a field the dialog should pass through shows when
// it changes.
Records Filled() {
    Records r;
    std::memset(&r.rec1, 0x33, sizeof r.rec1);
    std::memset(&r.rec2, 0x44, sizeof r.rec2);
    r.rec1.Name = "Cam001";
    return r;
}

// The record string each text control shows.
struct TextControl {
    const char* control;
    std::function<String255&(Records&)> field;
};

const std::vector<TextControl>& TextControls() {
    static const std::vector<TextControl> controls = {
        {"Edit1", [](Records& r) -> String255& { return r.rec1.PictureURL; }},
        {"Edit2", [](Records& r) -> String255& { return r.rec1.Name; }},
        {"Edit11", [](Records& r) -> String255& { return r.rec2.FilePrefix; }},
        {"Edit4", [](Records& r) -> String255& { return r.rec1.Description; }},
        {"Edit10", [](Records& r) -> String255& { return r.rec2.PlaceName; }},
        {"ComboBox1", [](Records& r) -> String255& { return r.rec2.Country; }},
        {"Edit3", [](Records& r) -> String255& { return r.rec1.LinkURL; }},
        {"Edit8", [](Records& r) -> String255& { return r.rec2.WeatherURL; }},
        {"Edit9", [](Records& r) -> String255& { return r.rec2.MapURL; }},
        {"Edit7", [](Records& r) -> String255& { return r.rec1.UserName; }},
        {"Edit5", [](Records& r) -> String255& { return r.rec1.Password; }},
    };
    return controls;
}

// One state of every control, and the record values it stands for.
struct Values {
    std::string textSuffix;  // appended to each text control's own name (Windows-1252)
    int refresh;
    bool noCheck, ifModifiedSince, live, enabled, login;
    std::uint8_t saveMode;
    const char* saveRadio;
};

std::string TextOf(const TextControl& c, const Values& v) {
    // Digits are refused in the prefix, so the controls' names are spelled without them.
    std::string name = c.control;
    std::replace_if(name.begin(), name.end(), [](char ch) { return ch >= '0' && ch <= '9'; }, 'x');
    return name + v.textSuffix;
}

Records Apply(Records r, const Values& v) {
    for (const TextControl& c : TextControls()) c.field(r).assign(TextOf(c, v));
    r.rec1.Refresh = v.refresh;
    r.rec2.NoCheck = v.noCheck ? 1 : 0;
    r.rec1.HeadCheck = v.ifModifiedSince ? 0 : 1;
    r.rec1.WebcamType = v.live ? 2 : 1;
    r.rec1.Enabled = v.enabled ? 1 : 0;
    r.rec1.SendLogin = v.login ? 1 : 0;
    r.rec1.SaveMode = v.saveMode;
    return r;
}

QString ControlText(QWidget& d, const char* name) {
    if (auto* combo = d.findChild<QComboBox*>(QString::fromLatin1(name))) return combo->currentText();
    return Child<QLineEdit>(d, name).text();
}

void ExpectShown(QWidget& d, const Values& v) {
    for (const TextControl& c : TextControls())
        EXPECT_EQ(ControlText(d, c.control), ui::FromRecord(TextOf(c, v))) << c.control;
    EXPECT_EQ(Child<QLineEdit>(d, "Edit6").text(), QString::number(v.refresh));
    EXPECT_EQ(Child<QCheckBox>(d, "CheckBox3").isChecked(), v.noCheck);
    EXPECT_EQ(Child<QCheckBox>(d, "CheckBox5").isChecked(), v.ifModifiedSince);
    EXPECT_EQ(Child<QCheckBox>(d, "CheckBox4").isChecked(), v.live);
    EXPECT_EQ(Child<QLineEdit>(d, "Edit6").isEnabled(), !v.live);
    EXPECT_EQ(Child<QCheckBox>(d, "CheckBox1").isChecked(), v.enabled);
    EXPECT_EQ(Child<QCheckBox>(d, "CheckBox2").isChecked(), v.login);
    EXPECT_TRUE(Child<QRadioButton>(d, v.saveRadio).isChecked());
}

void Enter(QWidget& d, const Values& v) {
    for (const TextControl& c : TextControls()) {
        const QString text = ui::FromRecord(TextOf(c, v));
        if (auto* combo = d.findChild<QComboBox*>(QString::fromLatin1(c.control))) {
            combo->setEditText(text);
        } else {
            Child<QLineEdit>(d, c.control).setText(text);
        }
    }
    Child<QLineEdit>(d, "Edit6").setText(QString::number(v.refresh));
    Child<QCheckBox>(d, "CheckBox3").setChecked(v.noCheck);
    Child<QCheckBox>(d, "CheckBox5").setChecked(v.ifModifiedSince);
    Child<QCheckBox>(d, "CheckBox4").setChecked(v.live);
    Child<QCheckBox>(d, "CheckBox1").setChecked(v.enabled);
    Child<QCheckBox>(d, "CheckBox2").setChecked(v.login);
    Child<QRadioButton>(d, v.saveRadio).setChecked(true);
    if (v.saveMode >= 1 && v.saveMode <= 253) Child<QSpinBox>(d, "SpinEdit1").setValue(v.saveMode);
}

class TnewwebcamdlgTest : public ::testing::Test {
protected:
    // Runs the editor on records, doing action while it shows; returns Execute's result.
    bool Run(Records& r, bool isNew, const std::function<void(QWidget&)>& action, ui::HeaderLines* lines = nullptr) {
        ui::Tnewwebcamdlg& dialog = ui::newwebcamdlg();
        dialogtest::WhenShown(dialog, [&] { action(dialog); });
        return dialog.Execute(r.rec1, r.rec2, isNew, data_, lines);
    }
    void MakeFolder(const std::string& name) { std::filesystem::create_directories(data_ + name); }

    testsupport::TempDir temp_;
    std::string data_ = temp_.folder();
};

TEST_F(TnewwebcamdlgTest, EveryControlShowsItsFieldAndWritesItBack) {
    const Values a{"-caf\xE9", 45, true, true, true, true, false, 253, "RadioButton3"};
    const Values b{" b\xE8s", 120, false, false, false, false, true, 254, "RadioButton4"};
    for (const auto& [from, to] : {std::pair{a, b}, std::pair{b, a}}) {
        SCOPED_TRACE(from.textSuffix);
        const Records given = Apply(Filled(), from);
        Records r = given;
        ASSERT_TRUE(Run(r, false, [&](QWidget& d) {
            EXPECT_EQ(d.windowTitle(), "Editer WebCam");
            ExpectShown(d, from);
            if (from.live) dialogtest::SaveScreenshot(d, "newwebcamdlg");
            Enter(d, to);
            dialogtest::Click(d, "OKBtn");
        }));
        // Every other byte, in both records, is as it was given.
        const Records want = Apply(given, to);
        EXPECT_TRUE(dialogtest::SameBytes(r.rec1, want.rec1));
        EXPECT_TRUE(dialogtest::SameBytes(r.rec2, want.rec2));
    }
}

TEST_F(TnewwebcamdlgTest, CancelChangesNothingAndANewWebcamHasItsCaption) {
    const Records given = Filled();
    Records r = given;
    EXPECT_FALSE(Run(r, true, [](QWidget& d) {
        EXPECT_EQ(d.windowTitle(), "Créer une nouvelle webcam");
        // The control that has the focus once the window is active.
        EXPECT_EQ(d.focusWidget(), &Child<QLineEdit>(d, "Edit1"));
        Child<QLineEdit>(d, "Edit4").setText("changed");
        Child<QCheckBox>(d, "CheckBox1").setChecked(false);
        dialogtest::Click(d, "CancelBtn");
    }));
    EXPECT_TRUE(dialogtest::SameBytes(r.rec1, given.rec1));
    EXPECT_TRUE(dialogtest::SameBytes(r.rec2, given.rec2));
}

TEST_F(TnewwebcamdlgTest, SavingModesShowTheirRadioAndOnlyASkipCountSetsTheSpinEdit) {
    struct Case {
        std::uint8_t mode;
        const char* radio;
        int spin;
    };
    const std::vector<Case> cases = {{253, "RadioButton3", 253}, {1, "RadioButton3", 1}, {0, "RadioButton1", 9},
                                     {254, "RadioButton4", 9},   {255, "RadioButton2", 9}};
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.mode));
        Records before = Filled();
        before.rec1.SaveMode = 9;
        Run(before, false, [](QWidget& d) { dialogtest::Click(d, "CancelBtn"); });
        Records r = Filled();
        r.rec1.SaveMode = c.mode;
        ASSERT_TRUE(Run(r, false, [&](QWidget& d) {
            EXPECT_TRUE(Child<QRadioButton>(d, c.radio).isChecked());
            EXPECT_EQ(Child<QSpinBox>(d, "SpinEdit1").value(), c.spin);
            dialogtest::Click(d, "OKBtn");
        }));
        EXPECT_EQ(r.rec1.SaveMode, c.mode);
    }
}

TEST_F(TnewwebcamdlgTest, TheNameIsShownTrimmedAndStoredAsTyped) {
    Records r = Filled();
    r.rec1.Name = " \tCam 7  ";
    MakeFolder(" \tCam 7  ");
    ASSERT_TRUE(Run(r, false, [](QWidget& d) {
        EXPECT_EQ(Child<QLineEdit>(d, "Edit2").text(), "Cam 7");
        Child<QLineEdit>(d, "Edit2").setText("  Cam 8");
        dialogtest::Click(d, "OKBtn");
    }));
    EXPECT_EQ(r.rec1.Name.str(), "  Cam 8");
}

TEST_F(TnewwebcamdlgTest, OkRefusesATakenOrUnsafeNameAndStaysOpen) {
    MakeFolder("Cam001");
    MakeFolder("Cam002");
    MakeFolder("Café");  // folders are named in UTF-8
    struct Case {
        const char* name;
        bool isNew;
        const char* typed;
        const char* message;  // nullptr: accepted at once
    };
    const std::vector<Case> cases = {
        {"editing without a rename never checks the folder", false, "Cam001", nullptr},
        {"a new webcam on an existing folder", true, "Cam001",
         "Impossible de créer une webcam appelée \"Cam001\" - Cet élément est déjà existant."},
        {"a rename onto an existing folder", false, "Cam002",
         "Impossible de changer le nom en \"Cam002\" - Cet élément est déjà existant."},
        {"a new webcam on an existing folder with an accent", true, "Café",
         "Impossible de créer une webcam appelée \"Café\" - Cet élément est déjà existant."},
        {"a rename onto an existing folder with an accent", false, "Café",
         "Impossible de changer le nom en \"Café\" - Cet élément est déjà existant."},
        {"a new name with an accent and no folder yet", true, "Crêpe", nullptr},
        {"a rename to a path", false, "../Cam001",
         "Impossible de changer le nom en \"../Cam001\" - Ce nom ne peut pas servir de nom de répertoire."},
        {"a new webcam called ..", true, "..",
         "Impossible de créer une webcam appelée \"..\" - Ce nom ne peut pas servir de nom de répertoire."},
        {"an empty name", true, "",
         "Impossible de créer une webcam appelée \"\" - Ce nom ne peut pas servir de nom de répertoire."},
        {"a backslash", false, "a\\b",
         "Impossible de changer le nom en \"a\\b\" - Ce nom ne peut pas servir de nom de répertoire."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Records r = Filled();
        dialogtest::MessageBoxAnswerer answerer;
        ASSERT_TRUE(Run(r, c.isNew, [&](QWidget& d) {
            Child<QLineEdit>(d, "Edit2").setText(QString::fromUtf8(c.typed));
            dialogtest::Click(d, "OKBtn");
            if (!c.message) return;
            EXPECT_TRUE(d.isVisible());
            Child<QLineEdit>(d, "Edit2").setText("Cam003");
            dialogtest::Click(d, "OKBtn");
        }));
        EXPECT_EQ(answerer.texts(), c.message ? QStringList{QString::fromUtf8(c.message)} : QStringList{});
        EXPECT_EQ(ui::FromRecord(r.rec1.Name.view()), QString::fromUtf8(c.message ? "Cam003" : c.typed));
    }
}

TEST_F(TnewwebcamdlgTest, ARefreshThatIsNoWholeNumberKeepsItsValue) {
    struct Case {
        const char* typed;
        std::int32_t want;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"soixante", 60, "soixanten'est pas un nombre"},
        {"99999999999", 60, "99999999999n'est pas un nombre"},
        {"-5", 0, nullptr},
        {" 90 ", 90, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        Records r = Filled();
        r.rec1.Refresh = 60;
        dialogtest::MessageBoxAnswerer answerer;
        ASSERT_TRUE(Run(r, false, [&](QWidget& d) {
            Child<QLineEdit>(d, "Edit6").setText(c.typed);
            Child<QLineEdit>(d, "Edit4").setText("written anyway");
            dialogtest::Click(d, "OKBtn");
            EXPECT_TRUE(answerer.texts().isEmpty());  // only after the dialog closed
        }));
        EXPECT_EQ(r.rec1.Refresh, c.want);
        EXPECT_EQ(r.rec1.Description.str(), "written anyway");
        EXPECT_EQ(answerer.texts(), c.message ? QStringList{QString::fromUtf8(c.message)} : QStringList{});
    }
}

TEST_F(TnewwebcamdlgTest, VideoLiveDisablesTheRefreshAndHeaderChecks) {
    Records r = Filled();
    r.rec1.WebcamType = 1;
    ASSERT_TRUE(Run(r, false, [](QWidget& d) {
        const std::vector<const char*> dependents = {"Edit6", "RefreshLabel", "SecondsLabel", "CheckBox3", "CheckBox5"};
        for (bool live : {true, false}) {
            Child<QCheckBox>(d, "CheckBox4").setChecked(live);
            for (const char* name : dependents) EXPECT_EQ(Child<QWidget>(d, name).isEnabled(), !live) << name;
        }
        dialogtest::Click(d, "OKBtn");
    }));
}

TEST_F(TnewwebcamdlgTest, DigitsInTheFilePrefixAreRefusedAsTheyAreTyped) {
    Records r = Filled();
    dialogtest::MessageBoxAnswerer answerer;
    ASSERT_TRUE(Run(r, false, [](QWidget& d) {
        auto& prefix = Child<QLineEdit>(d, "Edit11");
        for (const char* typed : {"cam", "cam2"}) {
            prefix.setText(typed);
            emit prefix.textEdited(prefix.text());
        }
        EXPECT_EQ(prefix.text(), "");
        prefix.setText("nord");
        emit prefix.textEdited(prefix.text());
        dialogtest::Click(d, "OKBtn");
    }));
    EXPECT_EQ(answerer.texts(), QStringList{"Désolé vous ne pouvez mettre de nombres dans ce champs."});
    EXPECT_EQ(r.rec2.FilePrefix.str(), "nord");
}

TEST_F(TnewwebcamdlgTest, TheCountryListIsOfferedAndFreeTextKept) {
    Records r = Filled();
    r.rec2.Country = "Atlantide";
    ASSERT_TRUE(Run(r, false, [](QWidget& d) {
        auto& combo = Child<QComboBox>(d, "ComboBox1");
        ASSERT_EQ(combo.count(), 231);
        EXPECT_EQ(combo.itemText(0), "USA");
        EXPECT_EQ(combo.itemText(3), "USA");
        EXPECT_EQ(combo.itemText(113), "Coree, Du sud");
        EXPECT_EQ(combo.itemText(230), "Vietnam");
        EXPECT_EQ(combo.currentText(), "Atlantide");
        combo.setCurrentIndex(73);
        dialogtest::Click(d, "OKBtn");
    }));
    EXPECT_EQ(r.rec2.Country.str(), "France");
}

TEST_F(TnewwebcamdlgTest, CategoriesReachTheRecordOnlyOnOk) {
    for (const char* button : {"CancelBtn", "OKBtn"}) {
        SCOPED_TRACE(button);
        Records r = Filled();
        std::fill(std::begin(r.rec1.Categories), std::end(r.rec1.Categories), 0);
        const bool ok = std::string(button) == "OKBtn";
        EXPECT_EQ(Run(r, false, [&](QWidget& d) {
            ui::Tcatedit& categories = ui::catedit();
            dialogtest::WhenShown(categories, [&] {
                EXPECT_EQ(categories.windowTitle(), "Catégorie webcam pourCam001");
                dialogtest::Click(categories, "IncAllBtn");
                dialogtest::Click(categories, "OKBtn");
            });
            dialogtest::Click(d, "Button1");
            dialogtest::Click(d, button);
        }), ok);
        for (int k = 1; k <= engine::kCategoryNamesUsed; ++k) ASSERT_EQ(r.rec1.Categories[k], ok ? 1 : 0) << k;
    }
}

// Runs "Avancée..." from the editor: checks the lines it shows, then types lines (nullptr:
// cancels it).
void Advanced(QWidget& editor, const QString& shown, const char* typed) {
    ui::Taddheadedit& lines = ui::addheadedit();
    dialogtest::WhenShown(lines, [&] {
        auto& box = Child<QPlainTextEdit>(lines, "RichEdit1");
        EXPECT_EQ(box.toPlainText(), shown);
        if (!typed) {
            dialogtest::Click(lines, "CancelBtn");
            return;
        }
        box.setPlainText(QString::fromUtf8(typed));
        dialogtest::Click(lines, "OKBtn");
    });
    dialogtest::Click(editor, "Button2");
}

TEST_F(TnewwebcamdlgTest, RequestLinesAreKeptInTheDialogAndNoFileIsWritten) {
    testsupport::WriteFile(data_ + "Cam001/addhead.txt", "Cookie: a=1\r\n");
    testsupport::WriteFile(data_ + "Other/addhead.txt", "Cookie: other\n");
    struct Case {
        const char* name;
        bool isNew;
        std::function<void(QWidget&)> action;
        ui::HeaderLines want;
    };
    const auto typeName = [](QWidget& d, const char* name) { Child<QLineEdit>(d, "Edit2").setText(name); };
    const std::vector<Case> cases = {
        {"not opened: nothing to store", false, [](QWidget&) {}, std::nullopt},
        {"cancelled: nothing to store", false, [](QWidget& d) { Advanced(d, "Cookie: a=1", nullptr); },
         std::nullopt},
        {"an edited webcam starts from its own file, whatever name is typed", false,
         [&](QWidget& d) {
             typeName(d, "Other2");
             Advanced(d, "Cookie: a=1", "Cookie: b=2\nX-Test: 1");
             Advanced(d, "Cookie: b=2\nX-Test: 1", "Cookie: b=3");  // the kept lines come back
         },
         std::vector<std::string>{"Cookie: b=3"}},
        {"a new webcam starts empty even under another webcam's name", true,
         [&](QWidget& d) {
             typeName(d, "Other");
             Advanced(d, "", "X-New: caf\u00e9");
             typeName(d, "Fresh");
         },
         std::vector<std::string>{"X-New: caf\xE9"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Records r = Filled();
        ui::HeaderLines lines = std::vector<std::string>{"stale"};
        ASSERT_TRUE(Run(
            r, c.isNew,
            [&](QWidget& d) {
                c.action(d);
                dialogtest::Click(d, "OKBtn");
            },
            &lines));
        EXPECT_EQ(lines, c.want);
        EXPECT_EQ(testsupport::ReadFile(data_ + "Cam001/addhead.txt"), "Cookie: a=1\r\n");
        EXPECT_EQ(testsupport::ReadFile(data_ + "Other/addhead.txt"), "Cookie: other\n");
        EXPECT_FALSE(std::filesystem::exists(data_ + "Other2"));
        EXPECT_FALSE(std::filesystem::exists(data_ + "Fresh"));
    }
}

}  // namespace
