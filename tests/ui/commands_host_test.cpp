// MainCommandsHost, through which the commands on webcams open the real window's dialogs: each
// one opens modally and a cancel changes nothing; the saver-list editor is the main program's
// (no note about the main program); the windows placed at the window's bottom edge open wholly
// on its screen, also on a window that fills the screen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QToolButton>

#include <array>
#include <functional>

#include "engine/settings_records.h"
#include "tests/support/temp_dir.h"
#include "tests/ui/dialog_test_support.h"
#include "tests/ui/mainform_fixture.h"
#include "ui/main/commands_host.h"
#include "ui/main/screen_placement.h"
#include "ui/main/tsupamain.h"
#include "ui/viewer/imageproc.h"

namespace {

using dialogtest::Child;

// Runs open; the first modal window that shows is looked at, then cancelled. Its objectName,
// or empty when none showed.
QString ModalOpenedBy(const std::function<void()>& open, const std::function<void(QWidget&)>& look = {}) {
    QString shown;
    QTimer timer;
    timer.setInterval(10);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible()) return;
        timer.stop();
        shown = modal->objectName();
        if (look) look(*modal);
        if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
        else modal->close();
    });
    timer.start();
    open();
    return shown;
}

bool WhollyOn(const QWidget& window, const QRect& area) { return area.contains(window.frameGeometry()); }

class CommandsHost : public mainformtest::MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_NE(StartWithThreeWebcams(), nullptr);
        host_ = std::make_unique<ui::MainCommandsHost>(*form_);
    }
    void TearDown() override {
        host_.reset();
        MainWindowTest::TearDown();
    }
    // The window over the whole available area of its screen, as a maximised window lies.
    QRect FillScreen() {
        form_->show();
        const QRect area = form_->screen()->availableGeometry();
        form_->setGeometry(area);
        QApplication::processEvents();
        return area;
    }

    std::unique_ptr<ui::MainCommandsHost> host_;
};

TEST_F(CommandsHost, EachDialogOpensModallyAndACancelChangesNothing) {
    engine::TWebcamDefRec rec = engine::ZeroRecord<engine::TWebcamDefRec>();
    engine::TWebcamDef1Rec rec2 = engine::ZeroRecord<engine::TWebcamDef1Rec>();
    engine::TConfigRec config{};
    ui::HeaderLines lines;
    std::vector<ui::SaverListChange> changes;
    std::int32_t seconds = 30;
    std::uint8_t flag = 1, mode = 0, on = 0;
    int index = 0, which = 0, append = 0, saveMode = 0;
    std::array<int, 6> motion{};
    testsupport::WriteFile(DataFolder() + "header.txt", "HTTP/1.0 200 OK\n");
    struct Case {
        const char* dialog;
        std::function<bool()> open;  // what the host returns; true where it returns nothing
    };
    const std::vector<Case> cases = {
        {"newwebcamdlg", [&] { return !host_->EditWebcam(rec, rec2, true, DataFolder(), lines); }},
        {"catedit", [&] { return !host_->EditCategories(rec); }},
        {"slistedit", [&] { return !host_->EditSaverList(DataFolder(), changes) && changes.empty(); }},
        {"changerefresh", [&] { return !host_->ChangeRefresh(seconds, flag) && seconds == 30; }},
        {"selectsave", [&] { return !host_->SelectSave(saveMode); }},
        {"Globalsave", [&] { return !host_->GlobalSave(mode, on) && on == 0; }},
        {"favpref", [&] { return !host_->FavouritePreferences(config); }},
        {"selectwebcam", [&] { return !host_->SelectWebcam(index) && index == 0; }},
        {"selectenabled", [&] { return !host_->SelectEnabled(which, append); }},
        {"showtextfile", [&] { host_->ShowTextFile(DataFolder() + "header.txt", "Header display - x"); return true; }},
        {"motionsettings", [&] { host_->EditMotionSettings(1, true, motion); return true; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dialog);
        bool result = false;
        EXPECT_EQ(ModalOpenedBy([&] { result = c.open(); }), QString::fromLatin1(c.dialog));
        EXPECT_TRUE(result);
    }
}

TEST_F(CommandsHost, TheSaverListEditorOfTheMainProgramShowsNoNote) {
    std::vector<ui::SaverListChange> changes;
    bool noteShown = true;
    ModalOpenedBy([&] { host_->EditSaverList(DataFolder(), changes); },
                  [&](QWidget& dialog) { noteShown = Child<QLabel>(dialog, "StaticText1").isVisible(); });
    EXPECT_FALSE(noteShown);
}

TEST_F(CommandsHost, TheGlobalSaveDialogOpensAtItsButtonWithinAWindowFillingTheScreen) {
    const QRect area = FillScreen();
    std::uint8_t mode = 0, on = 0;
    bool onScreen = false;
    QRect shownAt;
    ModalOpenedBy([&] { host_->GlobalSave(mode, on); },
                  [&](QWidget& dialog) {
                      shownAt = dialog.frameGeometry();
                      onScreen = WhollyOn(dialog, area);
                  });
    EXPECT_TRUE(onScreen) << shownAt.x() << "," << shownAt.y() << " " << shownAt.width() << "x" << shownAt.height();
    // At the bottom-left corner of SpeedButton2, in the screen's corner, pushed into the screen
    // (by a frame's room at most more than it needs).
    const QPoint corner = ui::FitOnScreen(form_->BelowSpeedButton2(), shownAt.size(), area);
    EXPECT_LE((shownAt.topLeft() - corner).manhattanLength(), 32) << shownAt.x() << "," << shownAt.y();
}

TEST_F(CommandsHost, TheEnhancementWindowOpensOnTheScreenOfAWindowFillingIt) {
    const QRect area = FillScreen();
    auto& enhance = Child<QToolButton>(*form_, "SpeedButton3");
    emit enhance.customContextMenuRequested(QPoint(2, 2));  // a right press
    ui::Timageproc& window = ui::imageproc();
    QApplication::processEvents();
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(WhollyOn(window, area)) << window.frameGeometry().y();
    window.hide();
}

}  // namespace
