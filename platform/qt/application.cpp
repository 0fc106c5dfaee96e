#include "platform/qt/application.h"

#include <exception>

#include "platform/qt/prompts.h"

namespace platform {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ShowException(std::current_exception());
        return false;
    }
}

void Application::ShowException(const std::exception_ptr& error) {
    QString text = QString::fromLatin1(kUnknownException);
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        text = QString::fromUtf8(e.what());
    } catch (...) {
    }
    // A failure of the box itself must not leave the handler either.
    try {
        CurrentPrompts().Message(text, Prompts::Icon::Error);
    } catch (...) {
    }
}

}  // namespace platform
