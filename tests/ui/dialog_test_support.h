#pragma once
// Helpers for the dialog tests: the test program's application object, driving a modal dialog
// while it runs, answering message boxes, and screenshots kept as test artifacts.

#include <gtest/gtest.h>

#include <QString>
#include <QWidget>

class QListWidget;
#include <QStringList>

#include <cstring>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

class QDialog;
class QTimer;

namespace dialogtest {

// Runs action once dialog shows modally. When the action leaves the dialog open the test
// fails and the dialog is rejected, so a test never hangs in a modal loop.
void WhenShown(QDialog& dialog, std::function<void()> action);

// Runs action once condition holds, polled from whatever event loop runs meanwhile (a modal
// dialog's, a request's wait); the test fails when it never holds.
void WhenTrue(std::function<bool()> condition, std::function<void()> action);

// While it lives, every message box that opens is answered with its default button and its
// text kept; onBox runs first, while the box is open.
class MessageBoxAnswerer {
public:
    explicit MessageBoxAnswerer(std::function<void()> onBox = {});
    ~MessageBoxAnswerer();
    const QStringList& texts() const { return texts_; }

private:
    std::unique_ptr<QTimer> timer_;
    QStringList texts_;
};

// Shows a top-level widget and waits (bounded) until its window can be painted; false when it
// never could.
bool ShowExposed(QWidget& window);

// Writes widget as name.png into the folder of dialog screenshots.
void SaveScreenshot(QWidget& widget, const QString& name);

// The child control of parent with objectName name; fails the test when there is none.
template <typename Control>
Control& Child(QWidget& parent, const char* name) {
    auto* control = parent.findChild<Control*>(QString::fromLatin1(name));
    if (!control) {
        ADD_FAILURE() << "no control " << name;
        throw std::runtime_error(std::string("no control ") + name);
    }
    return *control;
}

// The texts of a list box's lines, top to bottom.
QStringList ListLines(QListWidget& list);

// Clicks the button of parent with objectName name.
void Click(QWidget& parent, const char* name);

// Records compared byte for byte, so that no field a dialog should leave alone may change.
template <typename Record>
bool SameBytes(const Record& a, const Record& b) {
    return std::memcmp(&a, &b, sizeof(Record)) == 0;
}

}  // namespace dialogtest
