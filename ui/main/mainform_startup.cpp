// The main window's start: StartUp, the first show and the deferred load of the webcams.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QSignalBlocker>
#include <QSystemTrayIcon>
#include <QTimer>

#include "desktop/tray_icon.h"
#include "engine/fetch_thread_services.h"
#include "engine/messages.h"
#include "engine/motion_settings.h"
#include "engine/settings_limits.h"
#include "engine/webcam_manager.h"
#include "platform/cp1252.h"
#include "platform/dispatch.h"
#include "platform/program_dir.h"
#include "platform/qt/prompts.h"
#include "ui/controls/draw_grid1.h"
#include "ui/commands/global_save_text.h"
#include "ui/commands/webcam_commands.h"
#include "ui/controls/page_control1.h"
#include "ui/filters/view_filter.h"
#include "ui/filters/view_filters.h"
#include "ui/main/loading_list_view.h"
#include "ui/grid/thumbnail_grid.h"
#include "ui/main/data_folder.h"
#include "ui/main/manager_grid_source.h"
#include "ui/main/quick_bar_link.h"
#include "ui/main/tsupamain.h"
#include "ui/main/window_size.h"
#include "ui/viewer/viewer.h"

namespace ui {
namespace {

QString Text(const std::string& utf8) { return QString::fromStdString(utf8); }

}  // namespace

QString StartUpErrorText(const char* blockText) {
    return QString::fromLatin1(blockText) + QStringLiteral(" -- please write down the next message and contact Quenmark");
}

void Tsupamain::TraceStep(const QString& text) {
    if (CommandLine.DebugStart) platform::CurrentPrompts().Message(text);
}

// A step whose failure is shown with its block's text; the exception then goes on.
template <typename Fn>
void Tsupamain::Guarded(const char* text, Fn&& step) {
    try {
        step();
    } catch (...) {
        platform::CurrentPrompts().Message(StartUpErrorText(text), platform::Prompts::Icon::Error);
        throw;
    }
}

void Tsupamain::StartUp() {
    Closing = false;
    FViewer->Enhance = EnhanceSettings{};
    Starting = false;
    CommandLine = ReadCommandLine(FServices.parameters);
    TraceStep(QStringLiteral("Starting init"));

    Guarded("Error reading the system registry", [&] { ReadSettings(); });
    Guarded("Error starting manager", [] {});
    TraceStep(QStringLiteral("init10"));
    Guarded("Error thumb handler", [&] {
        TraceStep(QStringLiteral("init11"));
        TraceStep(QStringLiteral("init14"));
    });
    TraceStep(QStringLiteral("init15"));
    StopRequested = false;
    Stopping = false;
    Guarded("Init Error #2 ", [&] {
        PageControl2->setCurrentWidget(TabSheet11);
        FLeftPanelWidth = Config.LeftPanelWidth;
        ApplyWindowState();
    });
    SettleFolder();
    Guarded("Init Error #3", [&] {
        FDisk->CheckBox22Click();
        TraceStep(QStringLiteral("init18"));
        FViewer->SetZoom(kZoomFit);
    });
    // ovl.ini is read before the manager: its fetch threads take the User-Agent when made.
    ApplyOvlIni();
    CreateManager();
    UpdateTrayHint();
    TraceStep(QStringLiteral("init20 - ") + QString::fromStdString(DataFolder()));
    FThumbnails->UpdateGridRows();
    KeepMotionSettings(engine::ReadGlobalMotionSettings());
    SetMotionGaugePoints(MotionThreshold() * 4);
    SetGlobalSaveText(GlobalSaveText(DiskMan.GlobalSaveOn, DiskMan.GlobalSaveMode));
    {
        const QSignalBlocker blocker(ComboBox1);
        ComboBox1->setCurrentIndex(kFilterAll);
    }
    // The status lamps start shown, so a webcam in error shows it from the first picture.
    FindCommand(*this, "StatusLEDs1")->setChecked(true);
    FindCommand(*this, "WebcamHints1")->setChecked(Config.HintsOff == 0);
    FindCommand(*this, "SlowScanInactiveWebcams1")->setChecked(Extra1.SlowScanOn != 0);
    // A notification area that comes later gets the icon then.
    PGTrayIcon951->SetActive(DiskMan.TrayIcon != 0);
    engine::SaneExtra2(Extra2);
    FThumbnails->SetThumbnailSize(Extra2.ThumbWidth, Extra2.ThumbHeight);
    if (engine::twebcammanager* manager = Manager->Manager())
        manager->SetThumbnailSize(Extra2.ThumbWidth, Extra2.ThumbHeight);
    TraceStep(QStringLiteral("Init Complete"));
}

// The five records into the form's copies; all but DISKMAN are written straight back.
void Tsupamain::ReadSettings() {
    FWindowSizeStored = WindowSizeStored();  // before CONFIG is written back
    RegConfig = std::make_unique<engine::tregconfig>();
    TraceStep(QStringLiteral("init1"));
    TraceStep(QStringLiteral("init4"));
    RegConfig->ReadConfig(Config);
    RegConfig->WriteConfig(Config);
    TraceStep(QStringLiteral("init5"));
    RegConfig->ReadExtra(Extra);
    RegConfig->ReadExtra12(Extra1, Extra2);
    RegConfig->WriteExtra(Extra);
    RegConfig->WriteExtra12(Extra1, Extra2);
    TraceStep(QStringLiteral("init8"));
    RegConfig->ReadDiskMan(DiskMan);
    engine::SaneConfig(Config);
    TraceStep(QStringLiteral("init9"));
    TraceStep(QStringLiteral("registry read OK"));
}

void Tsupamain::ApplyWindowState() {
    // The stored size is the window's normal size, also when it starts minimised (or hidden) or
    // maximised: restored, it has that size.
    const QScreen* shown = screen() ? screen() : QGuiApplication::primaryScreen();
    const QSize available = shown ? shown->availableSize() : QSize(Config.WindowWidth, Config.WindowHeight);
    QSize size(Config.WindowWidth, Config.WindowHeight);
    // The first start has only the record's default size, too small for the grid beside the
    // view: the window opens with room for the panel's width and the view's size.
    if (!FWindowSizeStored) {
        const int besidePanel = std::max(sizeHint().width() - Panel1->sizeHint().width(),
                                         minimumSizeHint().width() - Panel1->minimumSizeHint().width());
        size = size.expandedTo({FLeftPanelWidth + besidePanel, sizeHint().height()});
    }
    resize(ClampWindowSize(size, available));
    switch (Extra.WindowState) {
    case 0: setWindowState(Qt::WindowNoState); break;
    case 1: setWindowState(Qt::WindowMinimized); break;
    case 2: setWindowState(Qt::WindowMaximized); break;
    default: break;
    }
}

// The stored folder, else the program folder; a failure leaves the data folder empty.
void Tsupamain::SettleFolder() {
    TraceStep(QStringLiteral("init16"));
    const SettledDataFolder settled = SettleDataFolder(Extra.DataDir.str(), platform::ProgramFolder());
    if (!settled.refused.empty())
        platform::CurrentPrompts().Message(Text(DataFolderTooLongText(settled.refused)), platform::Prompts::Icon::Warning);
    Extra.DataDir.assign(settled.folder);
    try {
        FDisk->DiskThumbs().SetFolder(settled.folder);
    } catch (const std::exception&) {
        Extra.DataDir.assign(std::string());  // a failure here empties the data folder
    }
    FDisk->SetFolderLabel(settled.folder);
    TraceStep(QStringLiteral("init17"));
}

void Tsupamain::CreateManager() {
    MainEngineSettings settings;
    settings.dataFolder = DataFolder();
    settings.threadCount = Config.MaxThreads & 0xFF;
    settings.extra1 = Extra1;
    settings.config = Config;
    settings.fetch = FetchSettings();
    Manager = FServices.createEngine(settings);
    engine::twebcammanager* manager = Manager->Manager();
    if (!manager) return;
    FFilters = std::make_unique<ViewFilters>(*manager, *this, *FViewer);
    FSwitch = std::make_unique<WebcamSwitch>(*manager, *FViewer, *this);
    manager->OnStatusChange = [this](int index, int status) { FFilters->WebcamStatusChanged(index, status); };
    manager->OnNewPicture = [this](int index, const std::string& fileName, const std::string* stream,
                                   std::uint8_t kind, engine::twebcampicture* picture, int score) {
        FFilters->NewPictureArrived(index, fileName, stream, kind, picture, score);
    };
    manager->OnStreamPicture = [this](int index, const std::string& fileName, const std::string* stream,
                                      std::uint8_t kind, engine::twebcampicture* picture, int score) {
        FFilters->StreamPictureArrived(index, fileName, stream, kind, picture, score);
    };
    FGridSource = std::make_unique<ManagerGridSource>(*manager);
    FThumbnails->SetSource(FGridSource.get());
    FListView = std::make_unique<LoadingListView>(*FThumbnails);
    manager->SetListView(FListView.get());
}

// What every fetch and stream thread shares: the User-Agent of ovl.ini, the error log, and the
// new-picture steps, which save by DISKMAN and keep the settings of a motion test that ran.
std::shared_ptr<const engine::FetchThreadSettings> Tsupamain::FetchSettings() {
    auto fetch = std::make_shared<engine::FetchThreadSettings>();
    fetch->userAgent = Ini.AffBrowser;
    fetch->errorLog = ErrorLog.get();
    const auto keepMotion = [this](const engine::TMotionSettingsRec& motion) { KeepMotionSettings(motion); };
    fetch->newPicture = engine::StillPictureStep(DiskMan, keepMotion);
    fetch->newFrame = engine::StreamPictureStep(DiskMan, keepMotion);
    return fetch;
}

void Tsupamain::KeepMotionSettings(const engine::TMotionSettingsRec& motion) {
    MotionSettings = engine::MotionSettingsValues(motion);
}

void Tsupamain::ApplyOvlIni() {
    ReadOvlIni(platform::ProgramFolder() + "ovl.ini", Ini);
    if (!Ini.AffTitle.empty())
        setWindowTitle(Text(engine::LoadMessage(65215)) + Text(platform::Cp1252ToUtf8(Ini.AffTitle)));
}

void Tsupamain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!Shown) {
        Shown = true;
        FormShow();
    }
}

void Tsupamain::FormShow() {
    TraceStep(QStringLiteral("Starting FormShow"));
    TraceStep(QStringLiteral("Part 5 OK"));
    ColorDepth = 16;
    if (const QScreen* shown = screen()) ColorDepth = shown->depth();
    if (ColorDepth < 9)
        platform::CurrentPrompts().Message(
            QStringLiteral("The System is running with 256 or fewer colors. Orvello will perform all image "
                           "manipulation in 24-bit color. However it will be unable to display all these colors "
                           "and some screen corruption will occur."),
            platform::Prompts::Icon::Information);
    ApplyLeftPanelWidth();
    TraceStep(QStringLiteral("Entering part 6"));
    Guarded("Init Error #6", [&] {
        FViewer->SetPictureCaption(QString(), 0);
        FDisk->DiskThumbs().SetActive(true);
        FFollowNewPictures = FindCommand(*this, "ToolButton7")->isChecked();
    });
    Timer3->start();
}

void Tsupamain::Timer3Timer() {
    Timer3->stop();
    if (Closing || !Manager) return;
    FLoading = true;
    try {
        DeferredLoad();
    } catch (...) {
        // Shown by the application; what was loaded stays usable, and a close asked meanwhile
        // still comes.
        EndDeferredLoad();
        throw;
    }
    EndDeferredLoad();
}

void Tsupamain::DeferredLoad() {
    CheckBox25->setChecked(DiskMan.AutoLoad != 0);
    FDisk->DiskThumbs().SetShowThumbnails(false);
    Manager->LoadWebcams();
    ApplyViewFilter();
    UpdateTrayHint();
    if (Manager->Count() > 0) {
        ShowWebcam(1);
        MarkCurrentWebcam(FCurrentWebcam);
    }
    if (CommandLine.AutoCap) StartAllAndMinimise();
    FQuickBar->ReopenAtStart();
}

void Tsupamain::EndDeferredLoad() {
    FLoading = false;
    Timer4->start();
    RunDeferredClose();
}

void Tsupamain::StartAllAndMinimise() {
    FCommands->ToolButton8Click();
    platform::ProcessMessages();
    if (!CommandLine.AutoCapMin) return;
    if (TrayInUse())
        HideToTray();
    else
        showMinimized();
}

bool Tsupamain::TrayInUse() const { return DiskMan.TrayIcon && QSystemTrayIcon::isSystemTrayAvailable(); }

void Tsupamain::HideToTray() {
    PGTrayIcon951->SetActive(true);
    PGTrayIcon951->HideApplication();
}

// With the quick bar open the window is hidden: the bar brings it back. Else without a tray on
// the desktop the window is minimised, so it can always be reached again.
void Tsupamain::MinimizeToTray() {
    const bool tray = TrayInUse();
    if (Extra1.QuickBarShown) {
        if (tray) PGTrayIcon951->RemoveIcon();
        setWindowState(windowState() & ~Qt::WindowMinimized);
        hide();
        if (tray) PGTrayIcon951->AddIcon();
    } else if (tray) {
        HideToTray();
    } else if (!isMinimized()) {
        showMinimized();
    }
}

void Tsupamain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // Hiding from inside the state change would fight the window manager: do it after.
    if (event->type() == QEvent::WindowStateChange && isMinimized() && (Extra1.QuickBarShown || TrayInUse()))
        QTimer::singleShot(0, this, [this] { MinimizeToTray(); });
}

}  // namespace ui
