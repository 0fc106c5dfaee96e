#pragma once
// What the commands on webcams need of the main window: its fields, its prompts and dialogs, and
// the calls that redraw it. The main window implements the host and binds the state to its own
// fields; tests fake both and record every prompt.
//
// Main thread only.

#include "desktop/quick_bar_store.h"
#include "engine/settings_records.h"
#include "engine/webcam_records.h"
#include "ui/controls/shift_state.h"
#include "ui/editors/newwebcamdlg.h"
#include "ui/saverlist/saver_list_file.h"

#include <QString>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class QWidget;

namespace engine {
class twebcammanager;
}

namespace ui {

// The main form's fields that the commands read and write, bound to the form's own.
struct WebcamCommandsState {
    bool& Starting;       // a start command is under way
    bool& Stopping;       // a stop behind the wait form is under way
    bool& StopRequested;  // long picture loops end when they see it
    TShiftState& ShiftState;
    engine::TConfigRec& Config;
    engine::TExtraRec& Extra;
    engine::TExtra1Rec& Extra1;
    engine::TDiskManRec& DiskMan;
    std::array<int, 6>& MotionSettings;
};

class WebcamCommandsHost {
public:
    virtual ~WebcamCommandsHost() = default;

    // The webcam manager; null before the engine exists (every command then does nothing).
    virtual engine::twebcammanager* WebcamManager() = 0;
    // 1-based, 0 for none.
    virtual int CurrentWebcam() const = 0;
    // The parent of the message boxes that helpers show themselves.
    virtual QWidget* Window() = 0;

    // Prompts. Ask offers Yes, No and Cancel and is true only for Yes.
    virtual void Message(const QString& text) = 0;
    virtual bool Ask(const QString& text) = 0;
    // SaveDialog1 with a filter in Qt's form; empty when cancelled.
    virtual QString SaveFileName(const QString& filter) = 0;
    // The browser opens a web page.
    virtual void OpenUrl(const QString& url) = 0;
    virtual void SetHourglass(bool on) = 0;
    // The wait form Twaitform, shown non-modally.
    virtual void ShowWaitForm(bool shown) = 0;

    // Dialogs; each is true on OK and writes back only then.
    virtual bool EditWebcam(engine::TWebcamDefRec& rec, engine::TWebcamDef1Rec& rec2, bool isNew,
                            const std::string& dataFolder, HeaderLines& headerLines) = 0;  // Tnewwebcamdlg
    virtual bool EditCategories(engine::TWebcamDefRec& rec) = 0;                            // Tcatedit
    virtual bool EditSaverList(const std::string& dataFolder, std::vector<SaverListChange>& changes) = 0;  // Tslistedit
    virtual bool ChangeRefresh(std::int32_t& seconds, std::uint8_t& ifModifiedSince) = 0;  // Tchangerefresh
    virtual bool SelectSave(int& mode) = 0;                                                 // Tselectsave
    // TGlobalsave, centred on the main window.
    virtual bool GlobalSave(std::uint8_t& mode, std::uint8_t& on) = 0;
    virtual bool FavouritePreferences(engine::TConfigRec& config) = 0;  // Tfavpref
    virtual bool SelectWebcam(int& index) = 0;                          // Tselectwebcam
    virtual bool SelectEnabled(int& which, int& append) = 0;            // Tselectenabled
    virtual void ShowTextFile(const std::string& fileName, const QString& caption) = 0;  // Tshowtextfile
    // Tmotionsettings: settings receives the six values shown when the dialog closes.
    virtual void EditMotionSettings(int webcam, bool global, std::array<int, 6>& settings) = 0;
    // Createwebcamfromwebcamlist1Click.
    virtual void CreateWebcamsFromList() = 0;

    // The window's own operations.
    virtual void SetRunState(int code) = 0;
    virtual void ShowWebcam(int webcam) = 0;
    virtual void MarkCurrentWebcam(int webcam) = 0;
    virtual void UpdateGridRows() = 0;
    virtual void RepaintGrid() = 0;
    virtual void RedrawWebcamCell(int webcam) = 0;
    virtual void ApplyViewFilter() = 0;
    // ComboBox1 on "Mes Favoris" and its change handler.
    virtual void ShowFavourites() = 0;
    virtual void UpdateStatusGauges() = 0;
    virtual void ShowWebcamInfo() = 0;
    virtual void UpdateTrayHint() = 0;
    virtual void SetGlobalSaveText(const QString& text) = 0;  // Edit3
    // Both zone points of the motion gauge MMLEDGauge5.
    virtual void SetMotionGaugePoints(int point) = 0;
    // Toggles the check mark of SlowScanInactiveWebcams1 and returns it.
    virtual bool ToggleSlowScanMark() = 0;

    // The quick bar around a change of the webcam list: the open bar's buttons saved by name
    // before, read again after; forgotten when no webcam is left (a closed bar's stored list).
    virtual void SaveQuickBarButtons() {}
    virtual void ReloadQuickBarButtons() {}
    virtual void ForgetQuickBarButtons() { desktop::ClearQuickBarStore(); }
};

}  // namespace ui
