#include "ui/tools/tool_commands.h"

#include <QAction>
#include <QCursor>
#include <QMenu>

#include <cstdio>

#include "desktop/tray_icon.h"
#include "engine/messages.h"
#include "platform/program_dir.h"
#include "platform/qt/prompts.h"
#include "ui/dialogs/joinmail.h"
#include "ui/dialogs/ledcolors.h"
#include "ui/dialogs/showtextfile.h"
#include "ui/grid/thumbnail_grid.h"
#include "ui/main/tsupamain.h"
#include "ui/tools/wct_convert.h"

namespace ui {

namespace {

QString Text(int number) { return QString::fromStdString(engine::LoadMessage(number)); }

// A log file that is not there is nothing to delete.
void DeleteLogFile(const std::string& fileName) { std::remove(fileName.c_str()); }

// "Restaurer la fenêtre" and the double click on the icon.
void ShowOrvello(Tsupamain& form) {
    if (form.DiskMan.TrayIcon && !form.Extra1.QuickBarShown) {
        form.TrayIcon().ShowApplication();
        return;
    }
    form.showNormal();
    form.raise();
    form.activateWindow();
}

// A click on the icon: its menu at the pointer.
void TrayClick(Tsupamain& form) {
    if (!form.DiskMan.TrayIcon) return;
    if (QMenu* menu = form.findChild<QMenu*>(QStringLiteral("traypopup"))) menu->popup(QCursor::pos());
}

void SpecifyLogFile(engine::tdebuglog& log) {
    const QString chosen = platform::CurrentPrompts().SaveFileName(
        Text(65211), QString::fromStdString(log.FFileName),
        QStringLiteral("Fichiers texte (*.txt);;Tous les fichiers (*)"));
    if (!chosen.isEmpty()) log.FFileName = chosen.toStdString();
}

}  // namespace

void AddToolCommands(Tsupamain& form, CommandHandlers& handlers) {
    // The logs are made after the handlers are bound: each command looks them up when it runs.
    const CommandHandlers rows = {
        {"ShowOrvello1Click", [&form] { ShowOrvello(form); }},
        {"Sendtosystemtray1Click", [&form] { form.MinimizeToTray(); }},
        {"Exit2Click", [&form] { form.close(); }},
        {"Startlogging1Click", [&form] { form.DebugLog->FEnabled = true; }},
        {"StopLogging1Click",
         [&form] {
             form.DebugLog->FEnabled = false;
             form.DebugLog->Save();
         }},
        {"Writemessage1Click", [] {}},
        {"SpecifyLogfile1Click", [&form] { SpecifyLogFile(*form.DebugLog); }},
        {"ViewLog1Click", [&form] { showtextfile().ShowFile(form.DebugLog->FFileName, Text(65211)); }},
        {"DeleteLogfile1Click", [&form] { DeleteLogFile(form.DebugLog->FFileName); }},
        {"importwct1Click", [] { ConvertWctFile(platform::ProgramFolder()); }},
        {"Errorlogging1Click",
         [&form] {
             form.Thumbnails().ShiftState = 0;
             form.ErrorLog->FEnabled = FindCommand(form, "Errorlogging1")->isChecked();
         }},
        {"Viewerrorlog1Click",
         [&form] {
             form.Thumbnails().ShiftState = 0;
             showtextfile().ShowFile(form.ErrorLog->FFileName, Text(65212));
         }},
        {"Deleteerrorlog1Click", [&form] { DeleteLogFile(form.ErrorLog->FFileName); }},
        {"StatusLEDColors1Click", [] { ledcolors().exec(); }},
        {"JoinMailingList1Click", [] { joinmail().Execute(1); }},
        {"Leavemailinglist1Click", [] { joinmail().Execute(2); }},
        {"Sendusacomment1Click", [] { joinmail().Execute(3); }},
    };
    for (const auto& [name, run] : rows) handlers[name] = run;
    form.TrayIcon().OnClick = [&form](desktop::TPGTrayIcon95&) { TrayClick(form); };
    form.TrayIcon().OnDblClick = [&form](desktop::TPGTrayIcon95&) { FindCommand(form, "ShowOrvello1")->trigger(); };
}

}  // namespace ui
