#pragma once
// Tsupamain, the main window of ovl: its controls, its start-up (StartUp, the first show, the
// deferred load one second later), minimising and the orderly shutdown. The settings records
// are the form's working copies that the rest of the window reads.
//
// The window is the host of its parts: the thumbnail grid, the view filters and the manager's
// events, the enlarged view and the switch of the current webcam. The commands on webcams reach
// it through MainCommandsHost.
//
// Main thread only.

#include <QMainWindow>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/fetch_thread.h"
#include "engine/logs.h"
#include "engine/motion_settings.h"
#include "engine/regconfig.h"
#include "engine/settings_records.h"
#include "ui/disk/disk_page.h"
#include "ui/disk/picture_commands.h"
#include "ui/filters/view_filter_host.h"
#include "ui/grid/grid_host.h"
#include "ui/grid/run_state.h"
#include "ui/main/command_line.h"
#include "ui/main/main_engine.h"
#include "ui/main/main_menus.h"
#include "ui/main/ovl_ini.h"
#include "ui/viewer/viewer_host.h"
#include "ui/viewer/webcam_switch.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSplitter;
class QTimer;
class QToolButton;
class QWidget;

namespace desktop {
class TPGTrayIcon95;
}
namespace media {
class TMMLEDGauge;
}

namespace ui {

class MainCommandsHost;
class QuickBarLink;
class LoadingListView;
class ManagerGridSource;
class TDrawGrid1;
class TPageControl1;
class TViewer;
class ThumbnailGrid;
class ViewFilters;
class WebcamCommands;
class WebCommands;

class Tsupamain : public QMainWindow,
                  public ThumbnailGridHost,
                  public ViewFilterHost,
                  public ViewerHost,
                  public WebcamSwitchHost,
                  public DiskPageHost,
                  public PictureCommandsHost {
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

    void Exit1Click();
    void About1Click();
    void UpdateTrayHint();
    // The display map from ComboBox1, then the grid's rows.
    void ApplyViewFilter();
    // ComboBox1 on "Mes Favoris", with its change handler.
    void ShowFavourites();
    // ComboBox1 on a filter item, applied (the change handler does not run).
    void ShowFilter(int item);
    void UpdateGridRows();
    void RepaintGrid();
    // Toggles the check mark of SlowScanInactiveWebcams1 and returns it.
    bool ToggleSlowScanMark();
    void SetGlobalSaveText(const QString& text);
    // Both zone points of the motion gauge MMLEDGauge5.
    void SetMotionGaugePoints(int point);

    // Shared by the hosts below.
    int CurrentWebcam() const override { return FCurrentWebcam; }
    void ShowWebcam(int webcam) override;
    void MarkCurrentWebcam(int webcam) override;
    void RedrawWebcamCell(int webcam) override;
    void LoadCurrentMotionSettings() override;
    void UpdateStatusGauges() override;
    void ShowStatusFrame();       // the frame's status text and gauges
    void StartStatusFrame();
    void ShowWebcamInfo() override;
    bool ViewerPageShown() const override;
    int MotionThreshold() const override { return MotionSettings[1]; }
    media::TMMLEDGauge& MotionGauge() override { return *Gauges[4]; }

    // ThumbnailGridHost.
    void PreviousPicture() override { FPictures->ToolButton10Click(); }
    void NextPicture() override { FPictures->ToolButton11Click(); }
    void FirstPicture() override { FPictures->ToolButton16Click(); }
    void LastPicture() override { FPictures->ToolButton17Click(); }
    void PopupGridMenu(const QPoint& screenPoint) override;
    bool StatusLEDs() const override;
    bool WebcamHints() const override;

    // ViewFilterHost.
    int FilterItem() const override;
    void GridChanged() override;
    void FocusGrid() override;
    bool FollowNewPictures() const override { return FFollowNewPictures; }
    void SetStatusLabel(const QString& text) override;
    bool DiskShowThumbnails() const override;
    void SetDiskShowThumbnails(bool on) override;
    void DiskRefreshSelectLast() override;
    void DiskAddPending() override;
    void UpdateQuickBarButton(int webcam) override;

    // ViewerHost.
    void SetStatusText(const QString& text) override;
    void RememberDiskPageState() override;
    int DiskEntryNumber() const override;
    int DiskEntryCount() const override;

    // WebcamSwitchHost.
    void SetCurrentWebcam(int webcam) override { FCurrentWebcam = webcam; }
    void EnhanceSettingsChanged(const EnhanceSettings& settings) override;
    void WebcamBecameCurrent(int webcam, int cell) override;
    void OpenWebcamFolder(int webcam) override;
    void MoveGridCursor(int webcam) override;

    // DiskPageHost (the "Disque" page).
    std::string DataFolder() const override { return Extra.DataDir.str(); }
    void SetRunState(int code) override;
    void ShowDiskPicture(const std::string& path) override;
    bool DiskPageShown() const override;
    void DiskSelectionChanged() override { FPictures->PictureNavigationButtons(); }
    void DeleteSelectedDiskPictures() override { FPictures->DeleteSelectedDiskPictures1Click(); }
    void PopupDiskMenu(const QPoint& screenPoint) override;

    // PictureCommandsHost (the Images menu and the picture walk).
    engine::twebcammanager* PictureManager() override { return WebcamManager(); }
    void UpdateMotionGauge(std::uint8_t kind, int score) override;
    void SetWalkButtons(bool firstPrevious, bool nextLast) override;
    void ProcessMessages() override;
    media::MovieMakerSetup MovieSetup() override;

    // Choosing the data folder (refused while a webcam runs): the webcams are loaded from it.
    void SelectWebcamFolder1Click();

    // Form state (names the rest of the window uses).
    CommandLineFlags CommandLine;
    int ColorDepth = 0;
    int FCurrentWebcam = 0;
    std::array<int, 6> MotionSettings{};
    bool Closing = false;
    bool Shown = false;
    bool StopRequested = false;
    bool Stopping = false;
    bool Starting = false;
    bool FFollowNewPictures = false;
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

    bool ShutdownDone() const { return FShutdownDone; }
    ThumbnailGrid& Thumbnails() { return *FThumbnails; }
    TViewer& Viewer() { return *FViewer; }
    WebcamCommands& Commands() { return *FCommands; }
    // The quick bar ("Doroza") and the "Doroza" button.
    QuickBarLink& QuickBar() { return *FQuickBar; }
    WebCommands& Web() { return *FWeb; }
    DiskPage& Disk() { return *FDisk; }
    PictureCommands& Pictures() { return *FPictures; }
    desktop::TPGTrayIcon95& TrayIcon() { return *PGTrayIcon951; }
    // The webcam manager; null before start-up and with an engine that has none.
    engine::twebcammanager* WebcamManager() const;
    // SpeedButton2, by the global-save text: global saving and the enhancement window open at
    // its bottom-left corner.
    QPoint BelowSpeedButton2() const;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    void BuildControls();
    QWidget* BuildViewerPage();
    void BindHandlers();
    void TraceStep(const QString& text);
    template <typename Fn>
    void Guarded(const char* text, Fn&& step);
    void ReadSettings();
    void SettleFolder();
    void CreateManager();
    std::shared_ptr<const engine::FetchThreadSettings> FetchSettings();
    // MotionSettings := the six values of a motion-settings record.
    void KeepMotionSettings(const engine::TMotionSettingsRec& motion);
    void ApplyOvlIni();
    void ApplyWindowState();
    // The splitter gives the left panel FLeftPanelWidth (when set).
    void ApplyLeftPanelWidth();
    void RememberWindowState();
    void WriteSettings();
    // The deferred load's work, and what ends it also after a failure.
    void DeferredLoad();
    void EndDeferredLoad();
    void StartAllAndMinimise();
    void StopAllBehindWaitForm();
    // What works on the manager, then the manager with its threads.
    void FreeEngine();
    void HideToTray();
    // The settings ask for the tray icon and the desktop has a tray to show it in.
    bool TrayInUse() const;
    bool StartBusy() const { return Starting || FLoading; }
    void RunDeferredClose();
    void Selectthumbnailsize1Click();
    void SpeedButton3Click();
    void OpenImageproc();
    void ImageprocChange(int level, int mix);
    void PageControl2Change();

    Services FServices;
    bool FLoading = false;        // the deferred load (Timer3) is under way
    bool FCloseDeferred = false;  // a close came while a start ran
    bool FShutdownDone = false;
    bool FWindowSizeStored = false;  // CONFIG was stored before this start
    int FLeftPanelWidth = 0;      // the user's split: the left panel's width, kept over resizes
    RunStateFlags FRunState;
    MainMenus FMenus;
    QTimer* Timer3;
    QTimer* Timer4;
    desktop::TPGTrayIcon95* PGTrayIcon951;
    QSplitter* Splitter1;
    QWidget* Panel1;  // the left panel: view filter and thumbnail grid
    QComboBox* ComboBox1;
    TDrawGrid1* DrawGrid11;
    TPageControl1* PageControl2;
    QWidget* TabSheet11;
    DiskPage* FDisk;
    QWidget* TabSheet12;
    QCheckBox* CheckBox22;
    QCheckBox* CheckBox25;
    QWidget* Panel9;  // the current webcam: name, run state, file count, description
    QLabel* Label1;
    // The status line and the gauges show the state of the next frame: the text Label1 takes
    // then, whether the gauges read the counts again, and the single-shot timer of that frame.
    QString FStatusLabelText;
    bool FStatusLabelDue = false;
    bool FStatusGaugesDue = false;
    QTimer* FStatusFrame = nullptr;
    QLabel* Label2;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label16;
    QLabel* Label27;
    QLineEdit* Edit3;
    QToolButton* SpeedButton2;
    QToolButton* SpeedButton3;
    std::array<media::TMMLEDGauge*, 5> Gauges{};  // MMLEDGauge1..5
    TViewer* FViewer;
    std::unique_ptr<ManagerGridSource> FGridSource;
    std::unique_ptr<LoadingListView> FListView;  // the manager's, while it lives
    ThumbnailGrid* FThumbnails;
    // Made with the manager, which they work on.
    std::unique_ptr<ViewFilters> FFilters;
    std::unique_ptr<WebcamSwitch> FSwitch;
    std::unique_ptr<MainCommandsHost> FCommandsHost;
    std::unique_ptr<WebcamCommands> FCommands;
    std::unique_ptr<QuickBarLink> FQuickBar;
    std::unique_ptr<WebCommands> FWeb;
    std::unique_ptr<PictureCommands> FPictures;
};

// The message a failed start-up step shows before its exception goes on.
QString StartUpErrorText(const char* blockText);

}  // namespace ui
