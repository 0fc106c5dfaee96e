#include "ui/dialogs/showtextfile.h"

#include "tests/support/temp_dir.h"
#include "tests/ui/dialog_test_support.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace {

using dialogtest::Child;

TEST(SplitLines, SplitsAtEveryKindOfLineEnd) {
    const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
        {"", {}},
        {"one", {"one"}},
        {"one\r\ntwo\r\n", {"one", "two"}},
        {"one\ntwo", {"one", "two"}},
        {"one\rtwo\r", {"one", "two"}},
        {"one\n\ntwo", {"one", "", "two"}},
        {"one\r\n\r\n", {"one", ""}},
        {"\n", {""}},
    };
    for (const auto& [text, lines] : cases) EXPECT_EQ(ui::SplitLines(text), lines) << text;
}

void PressEscape(QWidget& target) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&target, &press);
}

class TshowtextfileTest : public ::testing::Test {
protected:
    testsupport::TempDir temp_;
    std::string file_ = (temp_.path() / "header.txt").string();
};

TEST_F(TshowtextfileTest, ShowsCopiesWithCrLfAndReadsTheFileAgain) {
    testsupport::WriteFile(file_, "HTTP/1.0 200 OK\nServer: caf\xE9\r\nContent-Length: 12\r\n");
    ui::Tshowtextfile& dialog = ui::showtextfile();
    dialogtest::WhenShown(dialog, [&] {
        EXPECT_EQ(dialog.windowTitle(), "Header display - Café");
        auto& list = Child<QListWidget>(dialog, "ListBox1");
        EXPECT_EQ(dialogtest::ListLines(list), (QStringList{"HTTP/1.0 200 OK", "Server: café", "Content-Length: 12"}));
        dialogtest::SaveScreenshot(dialog, "showtextfile");

        dialogtest::Click(dialog, "Button3");
        EXPECT_EQ(QApplication::clipboard()->text(), "HTTP/1.0 200 OK\r\nServer: café\r\nContent-Length: 12\r\n");

        testsupport::WriteFile(file_, "HTTP/1.0 304 Not Modified\n");
        dialogtest::Click(dialog, "Button4");
        EXPECT_EQ(dialogtest::ListLines(list), QStringList{"HTTP/1.0 304 Not Modified"});
        dialogtest::Click(dialog, "Button1");
    });
    dialog.ShowFile(file_, "Header display - Café");
    EXPECT_EQ(Child<QListWidget>(dialog, "ListBox1").count(), 0);
}

TEST_F(TshowtextfileTest, EscapeClosesFromTheFormAndFromItsButtons) {
    testsupport::WriteFile(file_, "line\n");
    for (const char* target : {"", "Button2", "Button3"}) {
        SCOPED_TRACE(target);
        ui::Tshowtextfile& dialog = ui::showtextfile();
        dialogtest::WhenShown(dialog, [&] {
            QWidget& widget = *target ? static_cast<QWidget&>(Child<QPushButton>(dialog, target)) : dialog;
            PressEscape(widget);
        });
        dialog.ShowFile(file_, "x");
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
}

TEST_F(TshowtextfileTest, SavesTheLinesAsTheFileHoldsThem) {
    testsupport::WriteFile(file_, "caf\xE9\r\nsecond");
    const std::string chosen = (temp_.path() / "copy").string();
    ui::Tshowtextfile& dialog = ui::showtextfile();
    dialogtest::WhenShown(dialog, [&] {
        auto& saveDialog = Child<QFileDialog>(dialog, "SaveDialog1");
        dialogtest::WhenShown(saveDialog, [&] {
            saveDialog.setDirectory(QString::fromStdString(temp_.path().string()));
            // Typed as the user would; the dialog's own name field.
            Child<QLineEdit>(saveDialog, "fileNameEdit").setText(QStringLiteral("copy"));
            static_cast<QDialog&>(saveDialog).accept();
        });
        dialogtest::Click(dialog, "Button2");
        dialogtest::Click(dialog, "Button1");
    });
    dialog.ShowFile(file_, "x");
    // The default extension is added to a name without one; the bytes stay Windows-1252.
    EXPECT_EQ(testsupport::ReadFile(chosen + ".txt"), "caf\xE9\nsecond\n");
}

TEST_F(TshowtextfileTest, AMissingFileShowsNoLines) {
    ui::Tshowtextfile& dialog = ui::showtextfile();
    dialogtest::WhenShown(dialog, [&] {
        EXPECT_EQ(Child<QListWidget>(dialog, "ListBox1").count(), 0);
        dialogtest::Click(dialog, "Button1");
    });
    dialog.ShowFile((temp_.path() / "none.txt").string(), "x");
}

}  // namespace
