#include "ui/editors/addheadedit.h"

#include "tests/support/temp_dir.h"
#include "tests/ui/dialog_test_support.h"

#include <QPlainTextEdit>

namespace {

using dialogtest::Child;
using Lines = std::vector<std::string>;

TEST(Taddheadedit, ShowsTheLinesAndGivesBackTheBoxWithoutBlankLines) {
    struct Case {
        const char* name;
        const char* typed;  // nullptr: the box is left as shown
        bool clear;
        const char* button;
        bool result;
        Lines want;
    };
    const Lines given = {"Cookie: id=caf\xE9", "X-Test: 1"};
    const std::vector<Case> cases = {
        {"OK keeps the lines", nullptr, false, "OKBtn", true, given},
        {"typed lines; blank ones would end the request header", "Cookie: a=1\n\n   \nReferer: http://x/\n", false,
         "OKBtn", true, {"Cookie: a=1", "Referer: http://x/"}},
        {"Effacer empties the box", nullptr, true, "OKBtn", true, {}},
        {"Annuler keeps the lines given", "Cookie: b=2", false, "CancelBtn", false, given},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Lines lines = given;
        ui::Taddheadedit& dialog = ui::addheadedit();
        dialogtest::WhenShown(dialog, [&] {
            EXPECT_EQ(dialog.windowTitle(), "Ajout additionnel d'en-tête HTTP");
            auto& box = Child<QPlainTextEdit>(dialog, "RichEdit1");
            EXPECT_EQ(box.toPlainText(), "Cookie: id=café\nX-Test: 1");
            dialogtest::SaveScreenshot(dialog, "addheadedit");
            if (c.typed) box.setPlainText(QString::fromUtf8(c.typed));
            if (c.clear) dialogtest::Click(dialog, "Button1");
            dialogtest::Click(dialog, c.button);
        });
        EXPECT_EQ(dialog.Execute(lines), c.result);
        EXPECT_EQ(lines, c.want);
    }
}

TEST(HeaderLinesFile, LoadsSavesAndReportsAFileItCannotWrite) {
    testsupport::TempDir temp;
    const std::string data = temp.folder();
    EXPECT_EQ(ui::AddHeadPath(data, "Cam001"), data + "Cam001/addhead.txt");
    EXPECT_EQ(ui::AddHeadPath(data, ".."), "");
    EXPECT_EQ(ui::AddHeadPath(data, "a/b"), "");
    EXPECT_TRUE(ui::LoadHeaderLines(data + "Cam001/addhead.txt").empty());
    EXPECT_TRUE(ui::LoadHeaderLines("").empty());

    testsupport::WriteFile(data + "Cam001/addhead.txt", "Cookie: a=1\r\nX-A: 2\r\n");
    EXPECT_EQ(ui::LoadHeaderLines(data + "Cam001/addhead.txt"), (Lines{"Cookie: a=1", "X-A: 2"}));
    EXPECT_TRUE(ui::SaveHeaderLines(nullptr, data + "Cam001/addhead.txt", {"Cookie: b=\xE9"}));
    EXPECT_EQ(testsupport::ReadFile(data + "Cam001/addhead.txt"), "Cookie: b=\xE9\n");

    dialogtest::MessageBoxAnswerer answerer;
    const std::string missing = data + "NoSuchFolder/addhead.txt";
    EXPECT_FALSE(ui::SaveHeaderLines(nullptr, missing, {"X: 1"}));
    const std::string message = "Une erreur a été rencontrée lors de la création du fichier :" + missing;
    EXPECT_EQ(answerer.texts(), QStringList{QString::fromStdString(message)});
}

}  // namespace
