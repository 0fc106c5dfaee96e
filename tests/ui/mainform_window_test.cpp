// The main window as a person first sees it: its timers, the lamps and images it starts with,
// the hints of its gauges, the motion gauge following the marked webcam, the disk page's
// thumbnail switch, and labels that a long webcam name does not widen.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QTimer>
#include <QToolBar>

#include <set>
#include <string>

#include "engine/webcam.h"
#include "engine/webcam_manager.h"
#include "media/qt/led_gauge.h"
#include "tests/ui/dialog_test_support.h"
#include "tests/ui/mainform_fixture.h"
#include "ui/main/main_menus.h"
#include "ui/main/tsupamain.h"

namespace {

using dialogtest::Child;

class MainWindowLook : public mainformtest::StartedMainWindowTest {
protected:
    QImage Image(const QIcon& icon) { return icon.pixmap(24).toImage(); }
};

TEST_F(MainWindowLook, TheDeferredStartWaitsOneSecondAndTheTimeFiltersThirty) {
    auto& timer3 = Child<QTimer>(*form_, "Timer3");
    auto& timer4 = Child<QTimer>(*form_, "Timer4");
    EXPECT_EQ(timer3.interval(), 1000);
    EXPECT_TRUE(timer3.isSingleShot());
    EXPECT_EQ(timer4.interval(), 30000);
    EXPECT_FALSE(timer4.isSingleShot());
    EXPECT_TRUE(timer4.isActive());  // from the end of the deferred start
}

TEST_F(MainWindowLook, StatusLampsAreShownFromTheStart) { EXPECT_TRUE(Item("StatusLEDs1").isChecked()); }

TEST_F(MainWindowLook, ToolButtonsHaveImagesAndStopAllSwitchesBetweenTwo) {
    for (const char* bar : {"ToolBar1", "ToolBar2"}) {
        for (QAction* action : Child<QToolBar>(*form_, bar).actions()) {
            if (action->isSeparator()) continue;
            EXPECT_FALSE(action->icon().isNull()) << action->objectName().toStdString();
        }
    }
    QAction& stopAll = Item("ToolButton9");
    const QImage idle = Image(stopAll.icon());
    form_->SetRunState(4);  // webcams start
    const QImage running = Image(stopAll.icon());
    EXPECT_NE(running, idle);
    form_->SetRunState(5);  // none runs
    EXPECT_EQ(Image(stopAll.icon()), idle);
    EXPECT_FALSE(form_->windowIcon().isNull());
}

TEST_F(MainWindowLook, EachGaugeSaysWhatItMeasures) {
    std::set<QString> hints;
    for (int i = 1; i <= 5; ++i) {
        const QByteArray name = "MMLEDGauge" + QByteArray::number(i);
        hints.insert(Child<media::TMMLEDGauge>(*form_, name.constData()).toolTip());
    }
    EXPECT_EQ(hints.size(), 5u);
    EXPECT_EQ(hints.count(QString()), 0u);
}

TEST_F(MainWindowLook, MarkingAWebcamSetsTheMotionGaugeToItsThreshold) {
    engine::twebcam& second = *manager_->GetWebcam(2);
    engine::TWebcamDef1Rec rec2 = second.Rec2();
    rec2.MotionThreshold = 7;
    second.SetRecord2(rec2);
    auto& gauge = Child<media::TMMLEDGauge>(*form_, "MMLEDGauge5");
    form_->ShowWebcam(2);
    form_->MarkCurrentWebcam(2);
    EXPECT_EQ(gauge.Point1(), 28);
    EXPECT_EQ(gauge.Point2(), 28);
    form_->ShowWebcam(1);
    form_->MarkCurrentWebcam(1);  // back to the global threshold
    EXPECT_EQ(gauge.Point1(), form_->MotionThreshold() * 4);
    EXPECT_NE(gauge.Point1(), 28);
}

TEST_F(MainWindowLook, TheNewPictureStepSwitchesTheDiskBrowsersThumbnailsNotTheJpegOnlyBox) {
    auto& jpegOnly = Child<QCheckBox>(*form_, "CheckBox22");
    jpegOnly.setChecked(false);
    form_->SetDiskShowThumbnails(true);
    EXPECT_TRUE(form_->DiskShowThumbnails());
    EXPECT_FALSE(jpegOnly.isChecked());
    form_->SetDiskShowThumbnails(false);
    EXPECT_FALSE(form_->DiskShowThumbnails());
    EXPECT_FALSE(jpegOnly.isChecked());
}

TEST_F(MainWindowLook, ALongWebcamNameLeavesTheWindowItsWidth) {
    const int before = form_->minimumSizeHint().width();
    engine::twebcam& first = *manager_->GetWebcam(1);
    engine::TWebcamDefRec rec = first.Rec();
    const std::string name(255, 'W');
    rec.Name = name;
    rec.Description = std::string(255, 'D');
    first.SetRecord(rec);
    form_->ShowWebcam(1);
    manager_->StatusChanged(0, engine::kStatusStopped);  // the status line names it
    mainformtest::PassFrames();
    auto& label2 = Child<QLabel>(*form_, "Label2");
    EXPECT_EQ(label2.text(), QString::fromStdString(name));  // the whole name is kept
    EXPECT_TRUE(Child<QLabel>(*form_, "Label1").text().contains(QString::fromStdString(name)));
    EXPECT_LE(form_->minimumSizeHint().width(), before + 10);
    EXPECT_LT(form_->minimumSizeHint().width(), 800);
    form_->resize(760, 560);
    form_->show();
    QApplication::processEvents();
    EXPECT_EQ(form_->width(), 760);
    dialogtest::SaveScreenshot(*form_, "mainform-long-name");
}

}  // namespace
