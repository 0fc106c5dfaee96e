#include "ui/controls/page_control1.h"

#include "tests/ui/dialog_test_support.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QTabBar>

namespace {

// Key events of the tabs reach the handlers once each; a handler that sets
// the key to 0 keeps the tabs from switching pages.
TEST(TPageControl1, PublishesKeyEventsAndConsumesZeroedKeys) {
    ui::TPageControl1 pages;
    pages.addTab(new QWidget, QStringLiteral("TabSheet11"));
    pages.addTab(new QWidget, QStringLiteral("TabSheet12"));
    QStringList seen;
    pages.onkeydown = [&](int& key, ui::TShiftState shift) {
        seen << QStringLiteral("down %1 %2").arg(key).arg(shift);
        if (key == Qt::Key_Right && (shift & ui::ssShift)) key = 0;
    };
    pages.onkeyup = [&](int& key, ui::TShiftState shift) { seen << QStringLiteral("up %1 %2").arg(key).arg(shift); };
    pages.onkeypress = [&](QChar& key) { seen << QStringLiteral("press %1").arg(key); };

    QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::ShiftModifier);
    QCoreApplication::sendEvent(pages.tabBar(), &right);
    EXPECT_EQ(pages.currentIndex(), 0);
    QKeyEvent plainRight(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
    QCoreApplication::sendEvent(pages.tabBar(), &plainRight);
    EXPECT_EQ(pages.currentIndex(), 1);
    QKeyEvent a(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QCoreApplication::sendEvent(pages.tabBar(), &a);
    QKeyEvent ctrlUp(QEvent::KeyRelease, Qt::Key_Control, Qt::ControlModifier);
    QCoreApplication::sendEvent(pages.tabBar(), &ctrlUp);
    EXPECT_EQ(seen, (QStringList{QStringLiteral("down %1 1").arg(Qt::Key_Right), QStringLiteral("down %1 0").arg(Qt::Key_Right),
                                 QStringLiteral("down %1 0").arg(Qt::Key_A),
                                 QStringLiteral("press a"), QStringLiteral("up %1 0").arg(Qt::Key_Control)}));
}

}  // namespace
