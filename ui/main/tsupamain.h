#pragma once
// Tsupamain, the main window of ovl: its controls, its start-up (StartUp, the first show, the
// deferred load one second later), minimising and the orderly shutdown. The settings records
// are the form's working copies that the rest of the window reads.
//
// Main thread only.

#include <QMainWindow>
#include <QString>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "engine/logs.h"
#include "engine/regconfig.h"
#include "engine/settings_records.h"
#include "ui/grid/grid_host.h"
#include "ui/main/command_line.h"
#include "ui/main/main_engine.h"
#include "ui/main/main_menus.h"
#include "ui/main/ovl_ini.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSystemTrayIcon;
class QTimer;
class QWidget;

namespace media {
class TMMLEDGauge;
}

namespace ui {

class ManagerGridSource;
class TDrawGrid1;
class TPageControl1;
class ThumbnailGrid;

class Tsupamain : public QMainWindow, public ThumbnailGridHost {
    Q_OBJECT
public:
    struct Services {
        MainEngineFactory createEngine = CreateManagerEngine;
        std::vector<std::string> parameters;  // the command line without the program name
    };

    explicit Tsupamain(Services services);
    ~Tsupamain() override;

    // The start-up sequence, once, from the program block. A failed guarded step has shown
    // its message and the exception leaves here.
    void StartUp();
    // The shutdown; false (nothing done) while a start runs or once it has run.
    bool FormClose();
    // The application's minimise handler; also the tray command.
    void MinimizeToTray();
    void Timer3Timer();
    void Timer4Timer();

    // Commands of this window that other code runs.
    void ToolButton8Click();  // start all
    void ToolButton9Click();  // stop all
    void Exit1Click();
    void About1Click();
    void UpdateStatusGauges();
    // Fills the display map from ComboBox1 and relays the grid. Only "Toutes les WebCams" for
    // now: every webcam in its own cell.
    void ApplyViewFilter();

    // ThumbnailGridHost.
    int CurrentWebcam() const override { return FCurrentWebcam; }
    void ShowWebcam(int webcam) override;
    void LoadCurrentMotionSettings() override {}
    void PreviousPicture() override {}
    void NextPicture() override {}
    void FirstPicture() override {}
    void LastPicture() override {}
    void PopupGridMenu(const QPoint& screenPoint) override;
    bool StatusLEDs() const override;
    bool WebcamHints() const override;

    // Form state (names the rest of the window uses).
    CommandLineFlags CommandLine;
    int ColorDepth = 0;
    int FCurrentWebcam = 0;
    std::array<int, 3> EnhanceSettings{3, 3, 0};
    std::array<int, 6> MotionSettings{};
    bool Closing = false;
    bool Shown = false;
    bool StopRequested = false;
    bool Stopping = false;
    bool Starting = false;
    bool FollowNewPictures = false;
    std::unique_ptr<engine::tregconfig> RegConfig;
    engine::TConfigRec Config{};
    engine::TExtraRec Extra{};
    engine::TExtra1Rec Extra1{};
    engine::TExtra2Rec Extra2{};
    engine::TDiskManRec DiskMan{};
    OvlIni Ini;
    std::unique_ptr<MainEngine> Manager;
    std::unique_ptr<engine::tdebuglog> DebugLog;
    std::unique_ptr<engine::terrorlog> ErrorLog;

    // The data folder in use (with its trailing '/'), as a path.
    std::string DataFolder() const { return Extra.DataDir.str(); }
    bool ShutdownDone() const { return FShutdownDone; }
    ThumbnailGrid& Thumbnails() { return *FThumbnails; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    void BuildControls();
    void BindHandlers();
    void TraceStep(const QString& text);
    template <typename Fn>
    void Guarded(const char* text, Fn&& step);
    void ReadSettings();
    void SettleFolder();
    void CreateManager();
    void ApplyOvlIni();
    void ShowGlobalSaveState();
    void ApplyWindowState();
    void RememberWindowState();
    void WriteSettings();
    void StartAllAndMinimise();
    void StopAllBehindWaitForm();
    void HideToTray();
    void UpdateTrayHint();
    bool StartBusy() const { return Starting || FLoading; }
    void RunDeferredClose();

    // Manager events.
    void WebcamStatusChanged(int index, int status);
    void WebcamPictureArrived(int index);

    Services FServices;
    bool FLoading = false;        // the deferred load (Timer3) is under way
    bool FCloseDeferred = false;  // a close came while a start ran
    bool FShutdownDone = false;
    MainMenus FMenus;
    QTimer* Timer3;
    QTimer* Timer4;
    QSystemTrayIcon* PGTrayIcon951;
    QWidget* Panel1;  // the left panel: view filter and thumbnail grid
    QComboBox* ComboBox1;
    TDrawGrid1* DrawGrid11;
    TPageControl1* PageControl2;
    QWidget* TabSheet11;
    QWidget* TabSheet12;
    QCheckBox* CheckBox22;
    QCheckBox* CheckBox25;
    QLabel* Label1;
    QLabel* Label27;
    QLineEdit* Edit3;
    std::array<media::TMMLEDGauge*, 5> Gauges{};  // MMLEDGauge1..5
    std::unique_ptr<ManagerGridSource> FGridSource;
    ThumbnailGrid* FThumbnails;
};

// The message a failed start-up step shows before its exception goes on.
QString StartUpErrorText(const char* blockText);

}  // namespace ui
