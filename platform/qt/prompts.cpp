#include "platform/qt/prompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace platform {
namespace {

Prompts* gInstalled = nullptr;

QMessageBox::Icon BoxIcon(Prompts::Icon icon) {
    switch (icon) {
    case Prompts::Icon::Information: return QMessageBox::Information;
    case Prompts::Icon::Warning: return QMessageBox::Warning;
    case Prompts::Icon::Error: return QMessageBox::Critical;
    case Prompts::Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

int RunBox(const QString& text, Prompts::Icon icon, QMessageBox::StandardButtons buttons,
           QMessageBox::StandardButton defaultButton) {
    QMessageBox box(BoxIcon(icon), QApplication::applicationDisplayName(), text, buttons,
                    QApplication::activeWindow());
    box.setDefaultButton(defaultButton);
    return box.exec();
}

}  // namespace

Prompts& CurrentPrompts() {
    static QtPrompts qtPrompts;
    return gInstalled ? *gInstalled : qtPrompts;
}

void SetPrompts(Prompts* prompts) { gInstalled = prompts; }

void QtPrompts::Message(const QString& text, Icon icon) {
    RunBox(text, icon, QMessageBox::Ok, QMessageBox::Ok);
}

bool QtPrompts::Ask(const QString& text, Icon icon) {
    return RunBox(text, icon, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes) ==
           QMessageBox::Yes;
}

QString QtPrompts::OpenFileName(const QString& caption, const QString& folder, const QString& filter) {
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), caption, folder, filter);
}

QString QtPrompts::SaveFileName(const QString& caption, const QString& path, const QString& filter) {
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), caption, path, filter);
}

QString QtPrompts::FolderName(const QString& caption, const QString& folder) {
    return QFileDialog::getExistingDirectory(QApplication::activeWindow(), caption, folder);
}

}  // namespace platform
