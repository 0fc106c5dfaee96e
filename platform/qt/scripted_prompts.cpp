#include "platform/qt/scripted_prompts.h"

namespace platform {

ScriptedPrompts::ScriptedPrompts() : previous_(&CurrentPrompts()) { SetPrompts(this); }

ScriptedPrompts::~ScriptedPrompts() { SetPrompts(previous_); }

void ScriptedPrompts::Message(const QString& text, Icon) { shown.append(text); }

bool ScriptedPrompts::Ask(const QString& text, Icon) {
    shown.append(text);
    if (answers.empty()) return false;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

QString ScriptedPrompts::NextPath(const QString& caption) {
    shown.append(caption);
    if (paths.empty()) return {};
    QString path = paths.front();
    paths.pop_front();
    return path;
}

QString ScriptedPrompts::OpenFileName(const QString& caption, const QString&, const QString&) {
    return NextPath(caption);
}

QString ScriptedPrompts::SaveFileName(const QString& caption, const QString&, const QString&) {
    return NextPath(caption);
}

QString ScriptedPrompts::FolderName(const QString& caption, const QString&) { return NextPath(caption); }

}  // namespace platform
