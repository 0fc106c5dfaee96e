#pragma once
// Prompts that answer from a script and keep every text they were shown: what tests (and
// the whole-program checks) install in place of the real dialogs.

#include <QString>
#include <QStringList>

#include <deque>

#include "platform/qt/prompts.h"

namespace platform {

class ScriptedPrompts : public Prompts {
public:
    // Installs itself while it lives (and puts back what was installed before).
    ScriptedPrompts();
    ~ScriptedPrompts() override;
    ScriptedPrompts(const ScriptedPrompts&) = delete;
    ScriptedPrompts& operator=(const ScriptedPrompts&) = delete;

    // The answers, used in order; a question without one is answered No, a choice without one
    // is cancelled.
    std::deque<bool> answers;
    std::deque<QString> paths;

    // Every text shown (messages and questions) and every choice's caption, in order.
    QStringList shown;

    void Message(const QString& text, Icon icon) override;
    bool Ask(const QString& text, Icon icon) override;
    QString OpenFileName(const QString& caption, const QString& folder, const QString& filter) override;
    QString SaveFileName(const QString& caption, const QString& path, const QString& filter) override;
    QString FolderName(const QString& caption, const QString& folder) override;

private:
    QString NextPath(const QString& caption);
    Prompts* previous_;
};

}  // namespace platform
