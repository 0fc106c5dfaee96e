#pragma once
// The program's application object. An exception that leaves an event handler (a click, a
// timer, a queued call) is shown to the user in a message box through the prompts, and the
// event loop goes on: one failed command never ends the program.

#include <QApplication>

namespace platform {

class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Shows what an exception says; text of an exception that is no std::exception.
    static void ShowException(const std::exception_ptr& error);
    static inline const char* const kUnknownException = "Unknown exception";
};

}  // namespace platform
