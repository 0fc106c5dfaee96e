// The tray icon component: its owner, tip, state guard, update lock, timer manager, the
// 400 ms rule between a click and a double click, deferred calls, hiding and showing the
// application's windows, and the animation.
#include "desktop/tray_icon.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QStyle>
#include <QTemporaryDir>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace desktop;

// The test program's application, made on first use (another test file may have made it).
void EnsureApplication() {
    if (QApplication::instance()) return;
    static int argc = 1;
    static char name[] = "test_desktop";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);  // lives as long as the program
}

void ProcessEvents() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

class TrayIconTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureApplication();
        form = std::make_unique<QWidget>();
    }

    std::int64_t now = 1000;
    TickClock clock = [this] { return now; };
    std::unique_ptr<QWidget> form;
};

std::string ThrownText(const std::function<void()>& action) {
    try {
        action();
    } catch (const EInvalidOperation& e) {
        return e.what();
    }
    return {};
}

TEST_F(TrayIconTest, TheOwnerMustBeAWindow) {
    QWidget child(form.get());
    QObject plain;
    EXPECT_EQ("SystemTrays must be owned by a Form !", ThrownText([&] { TPGTrayIcon95 tray(&child); }));
    EXPECT_EQ("SystemTrays must be owned by a Form !", ThrownText([&] { TPGTrayIcon95 tray(&plain); }));
    EXPECT_EQ("SystemTrays must be owned by a Form !", ThrownText([&] { TPGTrayIcon95 tray(nullptr); }));
    EXPECT_EQ("", ThrownText([&] { TPGTrayIcon95 tray(form.get()); }));
}

TEST_F(TrayIconTest, TheTipIsTheHintCutTo63Characters) {
    TPGTrayIcon95 tray(form.get());
    const QString hundred = QString(60, QLatin1Char('a')) + QString(40, QChar(0xE9));
    struct Case {
        QString hint;
        bool show;
        QString tip;
    } cases[] = {
        {QStringLiteral("OVL"), true, QStringLiteral("OVL")},
        {hundred, true, hundred.left(63)},
        {QString(63, QLatin1Char('x')), true, QString(63, QLatin1Char('x'))},
        {hundred, false, QString()},
    };
    for (const Case& c : cases) {
        tray.SetShowHint(c.show);
        tray.SetHint(c.hint);
        EXPECT_EQ(c.tip, tray.Tip()) << c.hint.toStdString();
        EXPECT_EQ(c.hint, tray.Hint());
    }
    tray.SetShowHint(true);  // the hint comes back as the tip
    EXPECT_EQ(hundred.left(63), tray.Tip());
}

TEST_F(TrayIconTest, StateChangesGoThroughOnStateChangingWhichMayNotSetTheStateItself) {
    TPGTrayIcon95 tray(form.get());
    QIcon enabled = QApplication::style()->standardIcon(QStyle::SP_MediaPlay);
    QIcon disabled = QApplication::style()->standardIcon(QStyle::SP_MediaPause);
    tray.SetIcon(enabled);
    tray.SetDisabledIcon(disabled);
    std::vector<TPGTrayIconState> asked;
    tray.OnStateChanging = [&](TPGTrayIcon95&, TPGTrayIconState& next) { asked.push_back(next); };

    tray.SetState(tsDisabled);  // not active: only stored
    EXPECT_EQ(tsDisabled, tray.State());
    EXPECT_TRUE(asked.empty());

    tray.SetActive(true);
    EXPECT_EQ(disabled.cacheKey(), tray.CurrentIcon().cacheKey());
    tray.SetState(tsEnabled);
    EXPECT_EQ(tsEnabled, tray.State());
    EXPECT_EQ(enabled.cacheKey(), tray.CurrentIcon().cacheKey());
    tray.SetState(tsEnabled);  // unchanged: no event
    EXPECT_EQ(std::vector<TPGTrayIconState>{tsEnabled}, asked);

    // The handler may turn the change into another one, or into none.
    tray.OnStateChanging = [](TPGTrayIcon95&, TPGTrayIconState& next) { next = tsEnabled; };
    tray.SetState(tsDisabled);
    EXPECT_EQ(tsEnabled, tray.State());

    // Setting the state from inside the event is refused, and the guard is reset after.
    std::string inside;
    tray.OnStateChanging = [&](TPGTrayIcon95& sender, TPGTrayIconState&) {
        inside = ThrownText([&] { sender.SetState(tsAnimated); });
    };
    tray.SetState(tsDisabled);
    EXPECT_EQ("You cannot modify the state property in the OnStateChanging event !!!", inside);
    EXPECT_EQ(tsDisabled, tray.State());
    tray.OnStateChanging = nullptr;
    tray.SetState(tsEnabled);
    EXPECT_EQ(tsEnabled, tray.State());
}

TEST_F(TrayIconTest, LockUpdateNestsAndOnlyTheLastUnlockLetsWindowsRepaint) {
    form->show();
    TPGTrayIcon95 tray(form.get());
    struct Case {
        std::vector<bool> calls;
        int count;
    } cases[] = {
        {{true}, 1},
        {{true, true, false}, 1},
        {{true, true, false, false}, 0},
        {{false}, 0},  // an unlock without a lock changes nothing
        {{true, false, false, true}, 1},
    };
    for (const Case& c : cases) {
        for (bool lock : c.calls) tray.LockUpdate(lock);
        EXPECT_EQ(c.count, tray.LockCount());
        EXPECT_EQ(c.count == 0, form->updatesEnabled());
        while (tray.LockCount() > 0) tray.LockUpdate(false);
    }
}

TEST_F(TrayIconTest, TheTimerManagerTicksAtTheSmallestEnabledIntervalButAtLeastEvery150Ms) {
    struct Case {
        const char* name;
        std::vector<std::pair<int, bool>> items;  // interval, enabled
        bool managerEnabled;
        int interval;
    } cases[] = {
        {"none enabled", {{1000, false}}, true, 0},
        {"one long item", {{400, true}}, true, 150},
        {"a short one among them", {{400, true}, {70, true}, {20, false}}, true, 70},
        {"manager off", {{70, true}}, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TPGTimerManager manager(nullptr, clock);
        std::vector<std::unique_ptr<TPGTimerItem>> items;
        for (auto [interval, enabled] : c.items) {
            items.push_back(std::make_unique<TPGTimerItem>(manager));
            items.back()->SetInterval(interval);
            items.back()->SetEnabled(enabled);
        }
        manager.SetEnabled(c.managerEnabled);
        EXPECT_EQ(c.interval, manager.TimerInterval());
        items.clear();
        EXPECT_EQ(0, manager.TimerInterval());
    }

    // An item fires once its interval has passed since it was enabled or last fired.
    TPGTimerManager manager(nullptr, clock);
    TPGTimerItem item(manager);
    std::vector<std::int64_t> fired;
    item.OnTimer = [&](TPGTimerItem&) { fired.push_back(now); };
    item.SetInterval(100);
    item.SetEnabled(true);
    for (int step : {50, 50, 1, 60, 50}) {
        now += step;
        manager.Tick();
    }
    EXPECT_EQ((std::vector<std::int64_t>{1101, 1211}), fired);
}

TEST_F(TrayIconTest, AClickIsReported400MsAfterThePressUnlessADoubleClickCameFirst) {
    TPGTrayIcon95 tray(form.get(), clock);
    std::vector<std::string> events;
    tray.OnClick = [&](TPGTrayIcon95&) { events.push_back("click " + std::to_string(now - 1000)); };
    tray.OnDblClick = [&](TPGTrayIcon95&) { events.push_back("double " + std::to_string(now - 1000)); };
    const auto stepTo = [&](std::int64_t at) {
        while (now - 1000 < at) {
            now += 10;
            tray.TimerManager().Tick();
        }
    };

    tray.ButtonDown(TrayButton::Left);
    EXPECT_EQ(150, tray.TimerManager().TimerInterval());
    stepTo(400);
    EXPECT_TRUE(events.empty());  // not before the 400 ms are over
    stepTo(410);
    EXPECT_EQ(std::vector<std::string>{"click 410"}, events);
    stepTo(2000);
    EXPECT_EQ(1u, events.size());
    EXPECT_EQ(0, tray.TimerManager().TimerInterval());

    events.clear();
    now = 1000;
    tray.ButtonDown(TrayButton::Left);
    stepTo(200);
    tray.ButtonDoubleClick(TrayButton::Left);
    stepTo(1500);
    EXPECT_EQ(std::vector<std::string>{"double 200"}, events);
}

TEST_F(TrayIconTest, WithoutADoubleClickHandlerAClickIsReportedAtOnceAndTheMenuButtonIsNoClick) {
    TPGTrayIcon95 tray(form.get(), clock);
    QMenu menu;
    int clicks = 0;
    tray.OnClick = [&](TPGTrayIcon95&) { ++clicks; };
    tray.ButtonDown(TrayButton::Left);
    EXPECT_EQ(0, clicks);  // from the event loop
    ProcessEvents();
    EXPECT_EQ(1, clicks);

    tray.SetPopupMenu(&menu);
    tray.SetAutoPopup(true);
    tray.ButtonDown(TrayButton::Right);
    ProcessEvents();
    EXPECT_EQ(1, clicks);
    tray.SetAutoPopup(false);  // without the automatic menu the right button clicks
    tray.ButtonDown(TrayButton::Right);
    ProcessEvents();
    EXPECT_EQ(2, clicks);
}

TEST_F(TrayIconTest, OneDeferredCallWaitsAtATimeAndItsExceptionIsSwallowed) {
    TPGTrayIcon95 tray(form.get());
    std::vector<int> calls;
    tray.PostDeferredCall([&] { calls.push_back(1); });
    tray.PostDeferredCall([&] { calls.push_back(2); });
    EXPECT_TRUE(calls.empty());
    ProcessEvents();
    EXPECT_EQ(std::vector<int>{2}, calls);
    tray.PostDeferredCall([] { throw std::runtime_error("lost"); });
    EXPECT_NO_THROW(ProcessEvents());
    tray.PostDeferredCall([&] { calls.push_back(3); });
    ProcessEvents();
    EXPECT_EQ((std::vector<int>{2, 3}), calls);
}

TEST_F(TrayIconTest, HidingAndShowingTheApplication) {
    TPGTrayIcon95 tray(form.get());
    QWidget other;
    form->show();
    other.show();
    int minimised = 0;
    tray.OnAppMinimize = [&](TPGTrayIcon95&) { ++minimised; };

    // The main window's way: hidden later, the other windows left alone.
    tray.SetOptions(toUnclutterTaskBar);
    tray.HideApplication();
    EXPECT_TRUE(form->isVisible());
    ProcessEvents();
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(other.isVisible());
    EXPECT_EQ(1, minimised);
    EXPECT_EQ(0, tray.LockCount());

    form->showMinimized();
    form->hide();
    tray.ShowApplication();
    ProcessEvents();
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->isMinimized());

    // Closing the forms: at once, and every other window is closed.
    tray.SetOptions(toCloseFormsOnHideApp);
    tray.HideApplication();
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(other.isVisible());
    EXPECT_EQ(0, tray.LockCount());
}

// Animated, the icon shows the frames in turn, one each Interval, from the first again after the
// last; a new interval starts it over, new frames go on from the first, and any other state or
// taking the icon away stops it.
TEST_F(TrayIconTest, AnAnimatedIconShowsItsFramesInTurn) {
    QTemporaryDir folder;
    QStringList files;
    for (const char* colour : {"red", "lime", "blue"}) {
        QPixmap frame(16, 16);
        frame.fill(QColor(QString::fromLatin1(colour)));
        files << folder.filePath(QString::fromLatin1(colour) + ".png");
        ASSERT_TRUE(frame.save(files.back()));
    }
    TPGTrayIcon95 tray(form.get(), clock);
    QPixmap grey(16, 16);
    grey.fill(QColor(128, 128, 128));
    tray.SetIcon(QIcon(grey));
    int steps = 0;
    tray.OnAnimation = [&](TPGTrayIcon95&) { ++steps; };
    EXPECT_EQ(TPGTrayIconAnimation::kDefaultInterval, tray.Animation().Interval());
    tray.Animation().SetIcons(files);
    tray.Animation().SetInterval(500);
    const auto shown = [&] { return tray.CurrentIcon().pixmap(16, 16).toImage().pixelColor(8, 8).name().toStdString(); };
    const auto after = [&](int ms) {
        now += ms;
        tray.TimerManager().Tick();
        return shown();
    };

    tray.SetActive(true);
    tray.SetState(tsAnimated);
    EXPECT_EQ("#ff0000", shown());  // the first frame at once
    EXPECT_EQ(1, steps);
    EXPECT_EQ("#ff0000", after(400));
    EXPECT_EQ("#00ff00", after(101));
    tray.SetIcon(QIcon(grey));  // the tray icon's other pictures change: the frame shown stays
    EXPECT_EQ("#00ff00", shown());
    EXPECT_EQ("#0000ff", after(501));
    EXPECT_EQ("#ff0000", after(501));  // round again
    EXPECT_EQ(4, steps);

    after(501);  // on the second frame
    tray.Animation().SetInterval(200);  // starts over
    EXPECT_EQ("#ff0000", shown());
    EXPECT_EQ("#00ff00", after(201));
    tray.Animation().SetIcons({files[2], files[1]});  // goes on from the first of them
    EXPECT_EQ("#0000ff", after(201));

    tray.RemoveIcon();
    EXPECT_FALSE(tray.Animation().Running());
    tray.AddIcon();  // still animated: from the first frame
    EXPECT_EQ("#0000ff", shown());
    EXPECT_TRUE(tray.Animation().Running());

    tray.SetState(tsEnabled);
    EXPECT_FALSE(tray.Animation().Running());
    const int before = steps;
    EXPECT_EQ("#808080", after(1000));
    EXPECT_EQ(before, steps);
}

}  // namespace
