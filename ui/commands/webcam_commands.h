#pragma once
// The main window's commands on webcams, one handler per menu item or tool button, named as
// the window binds them. Each command checks first that there is something to act on (else it
// shows the message that says so and ends); the commands that change the webcam list refuse
// while any webcam runs; every question offers Yes, No and Cancel and only Yes goes on.
//
// Main thread only. The message loop runs during stops and dialogs, so another command may
// arrive meanwhile: Starting and Stopping keep a start or a stop from being entered twice.

#include "ui/commands/webcam_commands_host.h"

#include <QString>

#include <functional>
#include <string>

namespace engine {
class twebcam;
}

namespace ui {

class WebcamCommands {
public:
    WebcamCommands(WebcamCommandsHost& host, WebcamCommandsState state);

    // Start and stop.
    void ToolButton8Click();   // start all
    void ToolButton9Click();   // stop all
    void ToolButton13Click();  // start current
    void ToolButton14Click();  // stop current
    void Startselectedwebcams1Click();
    void Stopselectedwebcams1Click();
    void StartFavorites1Click();

    // Enable and disable.
    void ToolButton20Click();  // enable current
    void ToolButton19Click();  // disable current
    void Enableselectedwebcams1Click();
    void Disableselectedwebcams1Click();
    void Enableallwebcams1Click();
    void Disableallwebcams1Click();

    // Adding, editing and deleting.
    void New1Click();
    void Edit2Click();
    void Editwebcamcategories1Click();
    void Deletecurrentwebcam1Click();
    void Deleteselectedwebcams1Click();
    void Deletedisabledwebcams1Click();
    void Deleteallwebcams1Click();

    // Screen-saver list, favourites, selection.
    void Addcurrentwebcamtoscreensaverlist1Click();
    void Screensaverwebcamlist1Click();
    void AddselectedwebcamstoFavorites2Click();
    void RemoveselectedwebcamsfromFavorites1Click();
    void ClearFavorites1Click();
    void ShowFavorites1Click();
    void PreferencesforFavorites1Click();
    void SelectNone1Click();
    void InvertSelection1Click();

    // Settings of the selected webcams, and the global ones.
    void Changerefreshrateforselectedwebcams1Click();
    void Changesavesettingsforselectedwebcams1Click();
    void GlobalSaveControl1Click();
    void SlowScanInactiveWebcams1Click();
    void MotionDetectionSettings1Click();
    void MMLEDGauge5Click();

    // Finding, exporting, the browser and the last header.
    void SelectWebcam1Click();
    void SaveWebcamList1Click();
    void Refreshclick();
    void Showlastheader1Click();

private:
    using Manager = engine::twebcammanager;
    using Passes = bool (*)(const engine::twebcam&);
    static bool IsSelected(const engine::twebcam& webcam);
    static bool Every(const engine::twebcam& webcam);
    static constexpr int kMotionThreshold = 1;  // of the six motion settings

    // The manager when it has at least one webcam; else shows message (0: nothing) and null.
    Manager* WithWebcams(int message);
    // The current webcam when there is one; else shows message 65257 and null.
    engine::twebcam* CurrentOrSay();
    void Say(const QString& text);
    void Say(int message);
    bool AskYes(const QString& text);
    // Calls fn for every webcam (in list order) that passes.
    void ForEach(Manager& manager, const std::function<bool(const engine::twebcam&)>& passes,
                 const std::function<void(engine::twebcam&)>& fn);
    // Changes record 1 of every webcam that passes, through SetRecord.
    void ChangeRecords(Manager& manager, const std::function<bool(const engine::twebcam&)>& passes,
                       const std::function<void(engine::TWebcamDefRec&)>& change);

    // The run commands' common parts.
    void StartWith(int emptyMessage, bool askForList, void (Manager::*start)());
    void StopWith(void (Manager::*stop)(), bool all);
    void AfterRunChange(Manager& manager);
    void SetEnabledOf(Passes which, bool enabled);
    void SetCurrentEnabled(bool enabled);

    // Whether a webcam may go from oldName to newName (else says why).
    bool RenameAllowed(const std::string& dataFolder, const std::string& oldName, const std::string& newName);

    // The deletes' common parts.
    void DeleteSeveral(int question, Passes targets, const std::function<void(Manager&)>& deleteRecords);
    void ReloadAfterDelete(Manager& manager);
    void RemoveFolderOf(const std::string& dataFolder, const std::string& name);

    void EditMotion(bool global);
    void SetFavouriteOfSelected(bool favourite);
    void SetSelectionOfShown(bool (*selected)(bool wasSelected));

    WebcamCommandsHost& host_;
    WebcamCommandsState state_;
};

}  // namespace ui
