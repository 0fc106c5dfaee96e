#pragma once
// Every message box, question and file or folder choice of the program goes through one
// Prompts object, so that a test can answer them and read what was asked. The program uses the
// Qt implementation (QtPrompts); tests install a ScriptedPrompts.
//
// GUI thread only.

#include <QString>

class QWidget;

namespace platform {

class Prompts {
public:
    enum class Icon { None, Information, Warning, Error };

    virtual ~Prompts() = default;

    // A message with one OK button.
    virtual void Message(const QString& text, Icon icon = Icon::None) = 0;
    // A question with Yes, No and Cancel: true only for Yes.
    virtual bool Ask(const QString& text, Icon icon = Icon::Warning) = 0;
    // Chosen paths; empty when the user cancelled. Filters are Qt's ("Text files (*.txt)").
    virtual QString OpenFileName(const QString& caption, const QString& folder, const QString& filter) = 0;
    virtual QString SaveFileName(const QString& caption, const QString& path, const QString& filter) = 0;
    // A folder that the dialog may also create.
    virtual QString FolderName(const QString& caption, const QString& folder) = 0;
};

// The prompts in use: the installed ones, else the process's QtPrompts.
Prompts& CurrentPrompts();
// Installs prompts (null: back to the Qt ones); the caller keeps them alive while installed.
void SetPrompts(Prompts* prompts);

// The dialogs of Qt, over the active window.
class QtPrompts : public Prompts {
public:
    void Message(const QString& text, Icon icon) override;
    bool Ask(const QString& text, Icon icon) override;
    QString OpenFileName(const QString& caption, const QString& folder, const QString& filter) override;
    QString SaveFileName(const QString& caption, const QString& path, const QString& filter) override;
    QString FolderName(const QString& caption, const QString& folder) override;
};

}  // namespace platform
