// The quick bar over a real webcam manager on the in-memory shell: its stored buttons, the
// drops (grid selections, buttons, text, files), a duplicate address, the menus that act on the
// buttons' webcams, and what a button shows.

#include <QApplication>
#include <QDropEvent>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QUrl>
#include <gtest/gtest.h>

#include "desktop/quick_bar_button.h"
#include "desktop/quick_bar_store.h"
#include "desktop/url_drop.h"
#include "engine/webcam.h"
#include "platform/settings_store.h"
#include "tests/desktop/quick_bar_fixture.h"
#include "tests/desktop/x11_session.h"

namespace desktoptest {
namespace {

using desktop::abeTop;

const std::vector<std::string> kFour{"http://127.0.0.1:9/1.jpg", "http://127.0.0.1:9/2.jpg", "http://127.0.0.1:9/3.jpg",
                                     "http://127.0.0.1:9/4.jpg"};

TEST_F(QuickBarTest, NothingStoredDocksTheBarAtTheTopWithoutButtons) {
    LoadWebcams(kFour);
    desktop::Tquickbar& bar = OpenBar();
    EXPECT_EQ(bar.Settings().Edge, abeTop);
    EXPECT_TRUE(bar.ButtonWebcams().empty());
    EXPECT_EQ(shell_->Reserved(bar.BarId()).Height(), 80);  // the bar's fixed dock height
    EXPECT_TRUE(bar.isVisible());
}

TEST_F(QuickBarTest, StoredNamesLoadUpToTheFirstGapAndSkipMissingWebcams) {
    LoadWebcams(kFour);
    StoreNames({{"0", "Cam3"}, {"1", "Gone"}, {"2", "Cam1"}, {"4", "Cam2"}});
    OpenBar();
    EXPECT_EQ(ButtonNames(), (std::vector<std::string>{"Cam3", "Cam1"}));
    bar_.reset();  // going away saves: the missing name is left out, the names written again
    EXPECT_EQ(desktop::ReadQuickBarNames(), (std::vector<std::string>{"Cam3", "Cam1"}));
    EXPECT_TRUE(platform::SettingsKey(desktop::kQuickBarKey, false).ReadBinary(desktop::kAppBarValue).has_value());
}

TEST_F(QuickBarTest, ValuesZeroOneAndThreeGiveTwoButtons) {
    LoadWebcams(kFour);
    StoreNames({{"0", "Cam1"}, {"1", "Cam2"}, {"3", "Cam4"}});
    OpenBar();
    EXPECT_EQ(ButtonNames(), (std::vector<std::string>{"Cam1", "Cam2"}));
}

TEST_F(QuickBarTest, AValueThatIsNoStringIsSkippedAndTheButtonsAfterItKept) {
    LoadWebcams(kFour);
    StoreNames({{"1", "Cam2"}, {"2", "Cam1"}});
    platform::SettingsKey(desktop::kQuickBarKey, true).WriteBinary("0", "Cam3", 4);
    OpenBar();
    EXPECT_EQ(ButtonNames(), (std::vector<std::string>{"Cam2", "Cam1"}));
    bar_.reset();
    EXPECT_EQ(desktop::ReadQuickBarNames(), (std::vector<std::string>{"Cam2", "Cam1"}));
}

TEST_F(QuickBarTest, ClearRegistryRemovesThePositionAndTheNames) {
    LoadWebcams(kFour);
    StoreNames({{"0", "Cam1"}});
    desktop::Tquickbar& bar = OpenBar();
    bar.SetEdge(desktop::abeLeft);
    ASSERT_TRUE(bar.SaveSettings());
    bar.ClearRegistry();
    const platform::SettingsKey key(desktop::kQuickBarKey, false);
    EXPECT_TRUE(key.ValueNames().empty());
    bar.Reload();  // nothing stored: the top edge, no buttons
    EXPECT_EQ(bar.Settings().Edge, abeTop);
    EXPECT_TRUE(bar.ButtonWebcams().empty());
}

TEST_F(QuickBarTest, AGridSelectionDroppedOnTheSecondButtonLandsRightAfterIt) {
    LoadWebcams(kFour);
    StoreNames({{"0", "Cam1"}, {"1", "Cam2"}});
    desktop::Tquickbar& bar = OpenBar();
    manager_->GetWebcam(3)->FSelected = true;
    manager_->GetWebcam(4)->FSelected = true;
    QMimeData selection;
    selection.setData(desktop::kWebcamDragFormat, "0");
    ASSERT_TRUE(bar.DropMimeData(selection, bar.Buttons()[1]));
    // Each goes right after the target: the last selected nearest to it.
    EXPECT_EQ(ButtonNames(), (std::vector<std::string>{"Cam1", "Cam2", "Cam4", "Cam3"}));

    QMimeData one;
    one.setData(desktop::kWebcamDragFormat, "3");
    ASSERT_TRUE(bar.DropMimeData(one, nullptr));  // the free area: to the end
    EXPECT_EQ(ButtonNames(), (std::vector<std::string>{"Cam1", "Cam2", "Cam4", "Cam3", "Cam3"}));
}

TEST_F(QuickBarTest, ButtonsAreReorderedByDroppingThemOnEachOther) {
    LoadWebcams(kFour);
    StoreNames({{"0", "Cam1"}, {"1", "Cam2"}, {"2", "Cam3"}});
    desktop::Tquickbar& bar = OpenBar();
    QMimeData first;
    first.setData(desktop::kButtonDragFormat, "0");
    ASSERT_TRUE(bar.DropMimeData(first, bar.Buttons()[2]));
    EXPECT_EQ(ButtonNames(), (std::vector<std::string>{"Cam2", "Cam3", "Cam1"}));
    QMimeData middle;
    middle.setData(desktop::kButtonDragFormat, "1");
    ASSERT_TRUE(bar.DropMimeData(middle, nullptr));
    EXPECT_EQ(ButtonNames(), (std::vector<std::string>{"Cam2", "Cam1", "Cam3"}));
}

TEST_F(QuickBarTest, DroppedTextOnTheBarMakesWebcamsAndButtons) {
    LoadWebcams({kFour[0]});
    host_.defaults = {45, 1, 254, false};
    desktop::Tquickbar& bar = OpenBar();
    QMimeData text;
    text.setText(QStringLiteral("Two cameras:\nhttp://127.0.0.1:9/new1.jpg\n HTTP://ignored\nHTTP://127.0.0.1:9/new2.jpg\n"));
    // Qt's drop event on the real widget, over the tool bar.
    const QPoint at = bar.findChild<QWidget*>(QStringLiteral("tbrQuickBar"))->geometry().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&bar, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDragMoveEvent move(at, Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&bar, &move);
    EXPECT_TRUE(move.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&bar, &drop);
    EXPECT_TRUE(drop.isAccepted());
    ASSERT_EQ(manager_->Count(), 3);
    EXPECT_EQ(manager_->GetWebcam(2)->Rec().PictureURL.str(), "http://127.0.0.1:9/new1.jpg");
    EXPECT_EQ(manager_->GetWebcam(3)->Rec().PictureURL.str(), "HTTP://127.0.0.1:9/new2.jpg");
    EXPECT_EQ(manager_->GetWebcam(3)->Rec().Refresh, 45);
    EXPECT_EQ(manager_->GetWebcam(3)->Rec().HeadCheck, 1);
    EXPECT_EQ(manager_->GetWebcam(3)->Rec().SaveMode, 254);
    EXPECT_EQ(bar.ButtonWebcams(), (std::vector<int>{2, 3}));
    EXPECT_EQ(host_.calls.count("webcams added"), 2);
    EXPECT_FALSE(host_.calls.contains("start current"));
}

TEST_F(QuickBarTest, ADuplicateAddressGivesAButtonAndNoNewWebcam) {
    LoadWebcams(kFour);
    host_.defaults.autoStart = true;
    desktop::Tquickbar& bar = OpenBar();
    bar.AddURLs("http://127.0.0.1:9/2.jpg");
    EXPECT_EQ(manager_->Count(), 4);
    EXPECT_EQ(bar.ButtonWebcams(), (std::vector<int>{2}));
    // Started at once when the settings say so.
    EXPECT_EQ(host_.calls, (QStringList{"webcams added", "show 2", "start current"}));
}

TEST_F(QuickBarTest, DroppedShortcutFilesBecomeWebcams) {
    LoadWebcams({kFour[0]});
    desktop::Tquickbar& bar = OpenBar();
    testsupport::WriteFile(temp_.path() / "cam.url", "[InternetShortcut]\r\nurl=http://127.0.0.1:9/short.jpg\r\n");
    testsupport::WriteFile(temp_.path() / "cam.desktop", "[Desktop Entry]\nType=Link\nURL=http://127.0.0.1:9/link.jpg\n");
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(QString::fromStdString((temp_.path() / "cam.url").string())),
                   QUrl::fromLocalFile(QString::fromStdString((temp_.path() / "cam.desktop").string()))});
    ASSERT_TRUE(bar.DropMimeData(files, nullptr));
    ASSERT_EQ(manager_->Count(), 3);
    EXPECT_EQ(manager_->GetWebcam(2)->Rec().PictureURL.str(), "http://127.0.0.1:9/short.jpg");
    EXPECT_EQ(manager_->GetWebcam(3)->Rec().PictureURL.str(), "http://127.0.0.1:9/link.jpg");
    EXPECT_EQ(bar.ButtonWebcams(), (std::vector<int>{2, 3}));
}

TEST_F(QuickBarTest, AnOverlongDroppedTextIsCutAndTheUserTold) {
    LoadWebcams({kFour[0]});
    desktop::Tquickbar& bar = OpenBar();
    std::string text(desktop::kMaxDroppedLines, '\n');
    text += "http://127.0.0.1:9/late.jpg\n";
    bar.AddURLs(text);
    EXPECT_EQ(manager_->Count(), 1);
    ASSERT_EQ(host_.calls.size(), 1);
    EXPECT_TRUE(host_.calls[0].startsWith("message ")) << host_.calls[0].toStdString();
    EXPECT_TRUE(host_.calls[0].contains(QString::number(desktop::kMaxDroppedLines)));
}

TEST_F(QuickBarTest, TheMenusStartAndStopTheButtonsWebcams) {
    LoadWebcams(kFour);
    StoreNames({{"0", "Cam2"}, {"1", "Cam4"}});
    desktop::Tquickbar& bar = OpenBar();
    bar.BarMenu().findChild<QAction*>("StartCamsonDoroza1")->trigger();
    EXPECT_TRUE(manager_->GetWebcam(2)->FRunning);
    EXPECT_TRUE(manager_->GetWebcam(4)->FRunning);
    EXPECT_FALSE(manager_->GetWebcam(1)->FRunning);
    EXPECT_EQ(host_.calls, (QStringList{"run state 4", "run state changed"}));
    host_.calls.clear();
    bar.BarMenu().findChild<QAction*>("StopCamsonDoroza1")->trigger();
    EXPECT_EQ(manager_->RunningCount(), 0);
    EXPECT_EQ(host_.calls, (QStringList{"run state changed", "run state 5"}));

    bar.BarMenu().findChild<QAction*>("ClearAllCams1")->trigger();
    EXPECT_TRUE(bar.ButtonWebcams().empty());
}

TEST_F(QuickBarTest, ABrowseWithoutAWebLinkSaysSo) {
    LoadWebcams(kFour);
    StoreNames({{"0", "Cam1"}});
    desktop::Tquickbar& bar = OpenBar();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::RightButton, Qt::RightButton,
                      Qt::NoModifier);
    QApplication::sendEvent(bar.Buttons()[0], &press);
    EXPECT_EQ(bar.PressedWebcam(), 1);
    bar.ButtonMenu().findChild<QAction*>("BrowseHomepage1")->trigger();
    EXPECT_EQ(host_.calls.last().toStdString(),
              "message Lien invalid -- Utilisez la fonction éditer pour définir une nouvelle adresse.");
}

TEST_F(QuickBarTest, AButtonShowsTheThumbnailAndFramesANewPicture) {
    LoadWebcams(kFour);
    StoreNames({{"0", "Cam1"}});
    desktop::Tquickbar& bar = OpenBar();
    desktop::TQuickBarButton* button = bar.Buttons()[0];
    QImage face = button->Face();
    ASSERT_FALSE(face.isNull());
    EXPECT_EQ(face.size(), QSize(92, 72));
    EXPECT_EQ(face.pixelColor(46, 36), QColor(0, 0, 255));  // the thumbnail, stretched into it
    EXPECT_NE(face.pixelColor(4, 30), QColor(0, 255, 0));
    manager_->GetWebcam(1)->FNewPicture = true;
    face = button->Face();
    EXPECT_EQ(face.pixelColor(4, 30), QColor(0, 255, 0));  // the lime frame
    EXPECT_EQ(face.pixelColor(87, 30), QColor(0, 255, 0));
    EXPECT_EQ(button->toolTip().toStdString(), "Cam1\nhttp://127.0.0.1:9/1.jpg");
}

// A drag that starts on the bar holds the pointer to its end: a button that comes under it as
// the outline snaps to another edge gets none of the gesture.
TEST_F(QuickBarTest, ADragOfTheBarHoldsThePointerToItsEnd) {
    LoadWebcams(kFour);
    StoreNames({{"0", "Cam1"}});
    desktop::Tquickbar& bar = OpenBar();  // at the top
    ASSERT_TRUE(ProcessUntil([&] { return bar.isVisible() && !bar.Sliding(); }));
    const QPointF grip(8, 40);
    QMouseEvent press(QEvent::MouseButtonPress, grip, bar.mapToGlobal(grip), Qt::LeftButton, Qt::LeftButton, {});
    QApplication::sendEvent(&bar, &press);
    EXPECT_EQ(QWidget::mouseGrabber(), &bar);
    EXPECT_TRUE(bar.Dragging());
    QMouseEvent release(QEvent::MouseButtonRelease, grip, bar.mapToGlobal(grip), Qt::LeftButton, Qt::NoButton, {});
    QApplication::sendEvent(&bar, &release);
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    EXPECT_FALSE(bar.Dragging());
}

// A floating bar one button wide and high: the buttons of the rows that do not fit are hidden,
// not shown cut, and a drop there does not land on them.
TEST_F(QuickBarTest, ButtonsOfRowsThatDoNotFitWholeAreHidden) {
    LoadWebcams(kFour);
    StoreNames({{"0", "Cam1"}, {"1", "Cam2"}, {"2", "Cam3"}});
    desktop::Tquickbar& bar = OpenBar();
    bar.Settings().SetFloatRect({100, 100, 224, 204});
    bar.SetEdge(desktop::abeFloat);
    ASSERT_TRUE(ProcessUntil([&] { return bar.size() == QSize(124, 104); })) << bar.width() << "x" << bar.height();
    const std::vector<desktop::TQuickBarButton*>& buttons = bar.Buttons();
    EXPECT_FALSE(buttons[0]->isHidden());
    EXPECT_TRUE(buttons[1]->isHidden());
    EXPECT_TRUE(buttons[2]->isHidden());
    bar.SetEdge(desktop::abeTop);  // one row wide enough for all
    EXPECT_TRUE(ProcessUntil([&] { return !buttons[1]->isHidden() && !buttons[2]->isHidden(); }));
}

// The hint is made as it is shown: a webcam renamed (or given a description) since the bar opened
// shows what it is now.
TEST_F(QuickBarTest, AButtonsHintShowsTheWebcamAsItIsNow) {
    LoadWebcams(kFour);
    StoreNames({{"0", "Cam1"}});
    desktop::TQuickBarButton* button = OpenBar().Buttons()[0];
    engine::TWebcamDefRec rec = manager_->GetWebcam(1)->Rec();
    rec.Name.assign("Harbour");
    rec.Description.assign("North pier");
    manager_->GetWebcam(1)->SetRecord(rec);
    QHelpEvent show(QEvent::ToolTip, QPoint(10, 10), button->mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(button, &show);
    EXPECT_EQ(button->toolTip().toStdString(), "Harbour\nNorth pier\nhttp://127.0.0.1:9/1.jpg");
}

// The menu picture is the program's icon (the application's window icon), not the toolkit's.
TEST_F(QuickBarTest, TheMenuPictureIsTheProgramsIcon) {
    const QIcon before = QApplication::windowIcon();
    QPixmap red(16, 16);
    red.fill(QColor(255, 0, 0));
    QApplication::setWindowIcon(QIcon(red));
    LoadWebcams(kFour);
    desktop::Tquickbar& bar = OpenBar();
    const QLabel* picture = bar.findChild<QLabel*>("imgmenu");
    ASSERT_TRUE(picture);
    const QImage shown = picture->pixmap().toImage();
    QApplication::setWindowIcon(before);
    ASSERT_FALSE(shown.isNull());
    EXPECT_EQ(shown.pixelColor(8, 8), QColor(255, 0, 0));
}

TEST_F(QuickBarTest, ClosingTheBarTellsTheMainWindow) {
    LoadWebcams(kFour);
    desktop::Tquickbar* bar = &OpenBar();
    bar_.release();  // it frees itself when closed
    QPointer<desktop::Tquickbar> watch(bar);
    bar->BarMenu().findChild<QAction*>("miExit")->trigger();
    EXPECT_TRUE(host_.calls.contains("closed"));
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(watch.isNull());
}

}  // namespace
}  // namespace desktoptest
