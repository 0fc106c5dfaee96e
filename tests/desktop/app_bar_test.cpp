// TAppBar on the in-memory shell: docking reserves the edge and floating gives it back, the
// auto-hide place of an edge is refused to a second bar with the message, a docked bar pulled
// off its edge, sizing in steps, slides, stored settings, and a desktop without a bar service.

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "desktop/app_bar.h"
#include "desktop/app_bar_memory_service.h"
#include "platform/settings_store.h"
#include "tests/support/temp_dir.h"

namespace desktop {
namespace {

bool ProcessUntil(const std::function<bool()>& done, int ms = 10000) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

AppBarRect ScreenRect() {
    const QRect r = QGuiApplication::primaryScreen()->geometry();
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

class AppBarTest : public testsupport::IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        shell_ = std::make_shared<AppBarMemoryService>(ScreenRect());
    }
    std::unique_ptr<TAppBar> MakeBar() {
        auto bar = std::make_unique<TAppBar>(shell_);
        bar->SetSlideTime(0);
        QApplication::processEvents();  // the posted first move
        return bar;
    }
    int W() const { return shell_->Screen().Width(); }
    int H() const { return shell_->Screen().Height(); }

    std::shared_ptr<AppBarMemoryService> shell_;
};

TEST_F(AppBarTest, DockingReservesTheEdgeAndFloatingGivesItBack) {
    auto bar = MakeBar();
    bar->Settings().HorzDockSize = 80;
    bar->show();
    bar->SetEdge(abeTop);
    EXPECT_EQ(shell_->Reserved(bar->BarId()), (AppBarRect{0, 0, W(), 80}));
    EXPECT_EQ(shell_->WorkArea(), (AppBarRect{0, 80, W(), H()}));
    EXPECT_EQ(bar->WindowRect(), (AppBarRect{0, 0, W(), 80}));
    EXPECT_TRUE(shell_->Docked(bar->BarId()));

    bar->SetEdge(abeLeft);
    EXPECT_EQ(shell_->WorkArea(), (AppBarRect{72, 0, W(), H()}));
    EXPECT_EQ(bar->WindowRect(), (AppBarRect{0, 0, 72, H()}));

    bar->Settings().SetFloatRect({100, 120, 300, 220});
    bar->SetEdge(abeFloat);
    EXPECT_EQ(shell_->WorkArea(), shell_->Screen());
    EXPECT_FALSE(shell_->Docked(bar->BarId()));
    EXPECT_EQ(bar->WindowRect().left, 100);
    EXPECT_TRUE(bar->isVisible());

    bar.reset();
    EXPECT_EQ(shell_->WorkArea(), shell_->Screen());
}

TEST_F(AppBarTest, DockRectanglesOfTheFourEdgesStayClearOfOtherBars) {
    auto other = MakeBar();
    other->Settings().HorzDockSize = 30;
    other->SetEdge(abeTop);
    auto bar = MakeBar();
    struct Case {
        int edge;
        AppBarRect expected;
    } cases[] = {
        {abeLeft, {0, 30, 72, H()}},
        {abeTop, {0, 30, W(), 102}},  // stacked below the other bar
        {abeRight, {W() - 72, 30, W(), H()}},
        {abeBottom, {0, H() - 72, W(), H()}},
    };
    for (const Case& c : cases) EXPECT_EQ(bar->GetDockRect(c.edge), c.expected) << "edge " << c.edge;

    // Auto-hidden, it asks the shell nothing: the whole screen edge, shown or hidden.
    bar->Settings().AutoHide = 1;
    bar->SetEdge(abeLeft);
    AppBarRect r = bar->GetDockRect(abeLeft);
    EXPECT_EQ(r, (AppBarRect{0, 0, 72, H()}));
    ASSERT_TRUE(bar->GetAutoHideRect(false, r));
    EXPECT_EQ(r, (AppBarRect{-70, 0, 2, H()}));
    EXPECT_EQ(shell_->Reserved(bar->BarId()), AppBarRect{});
    bar->SetEdge(abeFloat);
    EXPECT_FALSE(bar->GetAutoHideRect(true, r));
}

TEST_F(AppBarTest, WhenAnotherBarDocksTheDockedBarMovesClear) {
    auto bar = MakeBar();
    bar->SetEdge(abeLeft);
    auto other = MakeBar();
    other->Settings().HorzDockSize = 40;
    other->SetEdge(abeTop);  // the shell tells the first bar
    EXPECT_EQ(bar->WindowRect(), (AppBarRect{0, 40, 72, H()}));
}

TEST_F(AppBarTest, ASecondAutoHideBarOnOneEdgeIsRefused) {
    auto first = MakeBar();
    first->Settings().AutoHide = 1;
    first->SetEdge(abeBottom);
    ASSERT_EQ(shell_->AutoHideBar(abeBottom), first->BarId());

    auto second = MakeBar();
    second->Settings().AutoHide = 1;
    QString shown;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        shown = box->text();
        box->accept();
    });
    second->SetEdge(abeBottom);
    EXPECT_EQ(shown.toStdString(),
              "There is already an auto hidden window on this edge.\n\rOnly one auto hidden window is allowed on each edge.");
    EXPECT_EQ(second->Settings().AutoHide, 0);
    EXPECT_EQ(shell_->AutoHideBar(abeBottom), first->BarId());
    // Docked normally on that edge.
    EXPECT_EQ(shell_->Reserved(second->BarId()), (AppBarRect{0, H() - 72, W(), H()}));
}

TEST_F(AppBarTest, ADockedBarPulledOffItsEdgeTakesItsFormerFloatingSize) {
    auto bar = MakeBar();
    bar->Settings().SetFloatRect({50, 60, 250, 160});
    bar->show();
    bar->SetEdge(abeTop);
    bar->EnterSizeMove();
    bar->Moving(QPoint(W() / 2, H() / 2));
    EXPECT_EQ(bar->Edge(), abeFloat);  // the edge a move under way would take
    bar->ExitSizeMove();
    EXPECT_EQ(bar->Settings().Edge, abeFloat);
    const AppBarRect f = bar->Settings().FloatRect();
    EXPECT_EQ(f.Width(), 200);
    EXPECT_EQ(f.Height(), 100);
    EXPECT_EQ(f.left, W() / 2 - 100);  // hanging from the cursor
    EXPECT_EQ(f.top, H() / 2);
    EXPECT_EQ(shell_->WorkArea(), shell_->Screen());

    // Dragged to the right edge it docks there.
    bar->EnterSizeMove();
    bar->Moving(QPoint(W() - 2, H() / 2));
    bar->ExitSizeMove();
    EXPECT_EQ(bar->Settings().Edge, abeRight);
    EXPECT_EQ(shell_->WorkArea(), (AppBarRect{0, 0, W() - 72, H()}));
}

TEST_F(AppBarTest, TheMouseDragsTheWholeBarToAnEdge) {
    auto bar = MakeBar();
    bar->Settings().SetFloatRect({100, 100, 300, 200});
    bar->SetEdge(abeFloat);
    bar->show();
    const auto send = [&](QEvent::Type type, QPoint global, Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPointF(bar->mapFromGlobal(global)), QPointF(global),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(bar.get(), &event);
    };
    const QPoint grab = bar->mapToGlobal(QPoint(20, 20));
    send(QEvent::MouseButtonPress, grab, Qt::LeftButton);
    send(QEvent::MouseMove, QPoint(W() / 2, 3), Qt::LeftButton);
    EXPECT_EQ(bar->Edge(), abeTop);  // the edge the move would take
    EXPECT_EQ(bar->Settings().Edge, abeFloat);
    send(QEvent::MouseButtonRelease, QPoint(W() / 2, 3), Qt::NoButton);
    EXPECT_EQ(bar->Settings().Edge, abeTop);
    EXPECT_EQ(shell_->WorkArea().top, 72);
}

TEST_F(AppBarTest, AFullScreenWindowPutsAnAlwaysOnTopBarBelow) {
    auto bar = MakeBar();
    bar->show();
    bar->SetEdge(abeTop);
    EXPECT_TRUE(bar->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    shell_->NotifyFullScreen(true);
    EXPECT_TRUE(bar->FullScreenAppOpen());
    EXPECT_TRUE(bar->windowFlags().testFlag(Qt::WindowStaysOnBottomHint));
    EXPECT_FALSE(bar->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(bar->isVisible());
    shell_->NotifyFullScreen(false);
    EXPECT_TRUE(bar->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(shell_->WorkArea().top, 72);
}

TEST_F(AppBarTest, ADockedBarIsSizedInSteps) {
    auto bar = MakeBar();
    TAppBarSettings& s = bar->Settings();
    s.MinVertDockSize = 100;
    s.HorzSizeInc = 92;
    s.VertDockSize = 100;
    bar->show();
    bar->SetEdge(abeLeft);
    struct Case {
        int cursorX, width;
    } cases[] = {{145, 100}, {146, 192}, {300, 284}, {40, 100}};
    for (const Case& c : cases) {
        bar->EnterSizeMove();
        bar->Sizing(QPoint(c.cursorX, 300));
        bar->ExitSizeMove();
        EXPECT_EQ(s.VertDockSize, c.width) << "cursor at " << c.cursorX;
        EXPECT_EQ(shell_->WorkArea().left, c.width) << "cursor at " << c.cursorX;
    }
}

TEST_F(AppBarTest, SlideTimeZeroMovesAtOnceAndASlideArrivesLater) {
    auto bar = MakeBar();
    bar->Settings().SetFloatRect({100, 100, 300, 200});
    bar->SetEdge(abeFloat);
    bar->show();
    ProcessUntil([&] { return bar->isVisible(); });
    const AppBarRect target{200, 150, 400, 250};
    bar->SlideWindow(target);
    EXPECT_FALSE(bar->Sliding());
    EXPECT_EQ(bar->WindowRect(), target);

    bar->SetSlideTime(300);
    const AppBarRect back{100, 100, 300, 200};
    bar->SlideWindow(back);
    EXPECT_TRUE(bar->Sliding());
    EXPECT_TRUE(ProcessUntil([&] { return !bar->Sliding(); }));
    const QRect g = bar->geometry();  // the client area is placed, the frame is the window manager's
    EXPECT_EQ((AppBarRect{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()}), back);
}

TEST_F(AppBarTest, AnAutoHiddenBarSlidesOutAndBackIn) {
    auto bar = MakeBar();
    bar->Settings().AutoHide = 1;
    bar->show();
    bar->SetEdge(abeTop);
    EXPECT_EQ(bar->WindowRect(), (AppBarRect{0, -70, W(), 2}));
    bar->SlideAutoHide(true);
    EXPECT_TRUE(bar->AutoHideShown());
    EXPECT_EQ(bar->WindowRect(), (AppBarRect{0, 0, W(), 72}));
    bar->SlideAutoHide(false);
    EXPECT_FALSE(bar->AutoHideShown());
    EXPECT_EQ(bar->WindowRect(), (AppBarRect{0, -70, W(), 2}));
}

TEST_F(AppBarTest, TheAutoHideTimerSlidesABarBackInWhenTheMouseIsAway) {
    auto bar = MakeBar();
    bar->Settings().AutoHide = 1;
    bar->show();
    bar->SetEdge(abeBottom);
    QWidget other;  // the active window: the bar is not
    other.show();
    other.activateWindow();
    ProcessUntil([&] { return other.isActiveWindow(); });
    QCursor::setPos(W() / 2, H() / 2);  // far from the bottom edge
    bar->SlideAutoHide(true);
    ASSERT_TRUE(bar->AutoHideShown());
    EXPECT_TRUE(ProcessUntil([&] { return !bar->AutoHideShown(); }));
    EXPECT_EQ(bar->WindowRect(), (AppBarRect{0, H() - 2, W(), H() + 70}));
}

TEST_F(AppBarTest, StoredSettingsAreTakenOnlyWhole) {
    auto bar = MakeBar();
    TAppBarSettings stored = bar->Settings();
    stored.Edge = abeBottom;
    stored.SlideTime = 9999;
    std::string bytes(reinterpret_cast<const char*>(&stored), sizeof stored);
    for (const std::size_t size : {83u, 85u}) {
        std::string value = bytes;
        value.resize(size, '\0');
        platform::SettingsKey(kQuickBarKey, true).WriteBinary(kAppBarValue, value.data(), value.size());
        EXPECT_FALSE(bar->LoadSettings()) << size;
        EXPECT_EQ(bar->Settings().Edge, abeFloat) << size;
    }
    ASSERT_TRUE(bar->SaveSettings());
    stored.SlideTime = 20000;  // out of range: the default
    platform::SettingsKey(kQuickBarKey, true).WriteBinary(kAppBarValue, &stored, sizeof stored);
    EXPECT_TRUE(bar->LoadSettings());
    EXPECT_EQ(bar->Settings().Edge, abeBottom);
    EXPECT_EQ(bar->Settings().SlideTime, 400);
}

TEST_F(AppBarTest, WithoutABarServiceEveryBarFloats) {
    auto bar = std::make_unique<TAppBar>(std::make_shared<NoAppBarService>(ScreenRect()));
    bar->SetSlideTime(0);
    bar->show();
    bar->SetEdge(abeTop);
    EXPECT_EQ(bar->Settings().Edge, abeFloat);
    EXPECT_TRUE(bar->isVisible());
    const AppBarRect r = bar->WindowRect();
    EXPECT_TRUE(r.Intersects(ScreenRect()));
    EXPECT_FALSE(r.Empty());
}

// Minimised all the same (a window manager may offer it whatever the window's kind), a bar has no
// task-bar button to come back from: it is shown again.
TEST_F(AppBarTest, AMinimisedBarIsShownAgain) {
    auto bar = MakeBar();
    bar->Settings().SetFloatRect({200, 200, 400, 300});
    bar->SetEdge(abeFloat);
    bar->show();
    ASSERT_TRUE(ProcessUntil([&] { return bar->isVisible(); }));
    bar->showMinimized();
    EXPECT_TRUE(ProcessUntil([&] { return !bar->isMinimized(); }, 3000));
    EXPECT_TRUE(bar->isVisible());
}

}  // namespace
}  // namespace desktop
