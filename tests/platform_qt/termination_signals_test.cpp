#include "platform/qt/termination_signals.h"

#include <gtest/gtest.h>

#include <signal.h>

#include <QDialog>
#include <QApplication>
#include <QTimer>

#include <chrono>
#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;

// The program's own loop is the application's, as in the program (QApplication::exec also
// clears a quit another test left). A signal that comes while dialogs are open cancels them,
// innermost first, and the close runs only once the code that opened them has gone on, back in
// the program's own loop.
TEST(TerminationSignals, CancelOpenModalDialogsThenCloseFromTheProgramsLoop) {
    // The program's main window stays open meanwhile: closing the dialogs must not end the loop.
    QApplication::setQuitOnLastWindowClosed(false);
    std::vector<std::string> journal;
    platform::TerminationSignals terminations([&] {
        journal.push_back("close");
        QCoreApplication::exit(0);
    });
    QTimer::singleShot(0, [&] {
        QDialog outer;
        QTimer::singleShot(0, [&] {
            QDialog inner;
            QTimer::singleShot(0, [] { raise(SIGTERM); });
            journal.push_back("inner " + std::to_string(inner.exec()));
        });
        journal.push_back("outer " + std::to_string(outer.exec()));
    });
    QTimer::singleShot(30s, [] { QCoreApplication::exit(1); });  // a guard, never the answer
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_EQ(journal, (std::vector<std::string>{"inner 0", "outer 0", "close"}));
    QApplication::setQuitOnLastWindowClosed(true);
}

TEST(TerminationSignals, WithNothingOpenTheCloseComesAtOnce) {
    int closes = 0;
    platform::TerminationSignals terminations([&] {
        ++closes;
        QCoreApplication::exit(0);
    });
    QTimer::singleShot(0, [] { raise(SIGINT); });
    QTimer::singleShot(30s, [] { QCoreApplication::exit(1); });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_EQ(closes, 1);
}

}  // namespace
