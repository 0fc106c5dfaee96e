// The main window wired to a real webcam manager (fetch threads that never fetch): its menu
// items run the commands, the form's keys move between webcams, the webcam chooser's marks
// become the grid's selection, and the manager's events reach the view.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>

#include "engine/categories.h"
#include "engine/webcam.h"
#include "engine/webcam_manager.h"
#include "tests/ui/mainform_fixture.h"
#include "ui/filters/view_filter.h"
#include "ui/main/main_menus.h"
#include "ui/main/manager_dialog_sources.h"
#include "ui/main/tsupamain.h"

namespace {

class MainFormWiring : public mainformtest::StartedMainWindowTest {
protected:
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(form_.get(), &press);
    }
};

TEST_F(MainFormWiring, MenuItemsRunTheCommandsOnTheManager) {
    EXPECT_TRUE(Item("ToolButton8").isEnabled());
    Item("Startallwebcams1").trigger();
    EXPECT_EQ(manager_->RunningCount(), 3);
    Item("Stopallwebcams2").trigger();  // the tray's item runs the same command
    EXPECT_EQ(manager_->RunningCount(), 0);
    EXPECT_TRUE(form_->StopRequested);
    // A check item that the command turns itself: one trigger, one change.
    const bool slowScan = form_->Extra1.SlowScanOn != 0;
    Item("SlowScanInactiveWebcams1").trigger();
    EXPECT_EQ(form_->Extra1.SlowScanOn != 0, !slowScan);
    EXPECT_EQ(Item("SlowScanInactiveWebcams1").isChecked(), !slowScan);
}

TEST_F(MainFormWiring, ArrowKeysOfTheFormMoveBetweenWebcams) {
    ASSERT_EQ(form_->CurrentWebcam(), 1);
    Key(Qt::Key_Down);
    EXPECT_EQ(form_->CurrentWebcam(), 2);
    Key(Qt::Key_Down, Qt::ControlModifier);  // to the last one
    EXPECT_EQ(form_->CurrentWebcam(), 3);
    Key(Qt::Key_Up);
    EXPECT_EQ(form_->CurrentWebcam(), 2);
    EXPECT_EQ(form_->findChild<QLabel*>("Label2")->text(), QStringLiteral("Cam2"));
}

TEST_F(MainFormWiring, WebcamsMarkedInTheChooserAreTheOnesTheGridShows) {
    ui::ManagerChooserSource source(*manager_, [this] { form_->ShowFilter(ui::kFilterSelected); });
    ASSERT_EQ(source.WebcamCount(), 3);
    EXPECT_EQ(source.WebcamRecord(2).Name.str(), "Cam3");
    source.ShowOnlySelected({1, 3});
    EXPECT_EQ(form_->findChild<QComboBox*>("ComboBox1")->currentIndex(), ui::kFilterSelected);
    EXPECT_EQ(manager_->DisplayedCount(), 2);
    EXPECT_EQ(manager_->GetCellWebcam(1), 3);
    EXPECT_FALSE(manager_->GetWebcam(2)->FSelected);
}

TEST_F(MainFormWiring, StatusChangesOfTheEngineReachTheStatusLine) {
    manager_->StatusChanged(1, engine::kStatusStopped);
    EXPECT_EQ(form_->findChild<QLabel*>("Label1")->text(),
              QStringLiteral("Cam2 - ") + QString::fromStdString(engine::WebcamStatusText(engine::kStatusStopped)));
}

}  // namespace
