#include "ui/main/tsupamain.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSplitter>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "desktop/tray_icon.h"
#include "engine/messages.h"
#include "engine/motion_settings.h"
#include "engine/webcam_manager.h"
#include "media/qt/led_gauge.h"
#include "platform/cp1252.h"
#include "platform/program_dir.h"
#include "platform/qt/prompts.h"
#include "ui/commands/webcam_commands.h"
#include "ui/controls/draw_grid1.h"
#include "ui/controls/page_control1.h"
#include "ui/controls/shift_state.h"
#include "ui/dialogs/aboutbox.h"
#include "ui/dialogs/selthumbsize.h"
#include "ui/filters/view_filter.h"
#include "ui/filters/view_filters.h"
#include "ui/grid/dragged_webcam.h"
#include "ui/grid/thumbnail_grid.h"
#include "ui/icons/icons.h"
#include "ui/main/commands_host.h"
#include "ui/controls/elided_label.h"
#include "ui/main/loading_list_view.h"
#include "ui/main/manager_grid_source.h"
#include "ui/main/quick_bar_link.h"
#include "ui/main/screen_placement.h"
#include "ui/tools/tool_commands.h"
#include "ui/tools/tray_hint.h"
#include "ui/viewer/imageproc.h"
#include "ui/viewer/picture_services.h"
#include "ui/viewer/viewer.h"
#include "ui/viewer/webcam_info.h"
#include "ui/web/web_commands.h"

namespace ui {
namespace {

template <typename Widget, typename... Args>
Widget* Make(QWidget* parent, const char* name, Args&&... args) {
    auto* widget = new Widget(std::forward<Args>(args)..., parent);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// The status row: the gauges' width, and how narrow they become in a narrow window; the room the
// status text keeps for itself.
constexpr int kGaugeWidth = 80, kLeastGaugeWidth = 24, kGaugeHeight = 16;
constexpr int kReadableStatusWidth = 240;

}  // namespace

Tsupamain::Tsupamain(Services services) : FServices(std::move(services)) {
    setObjectName(QStringLiteral("supamain"));
    setWindowTitle(QStringLiteral("Orvello"));
    BuildControls();
    FCommandsHost = std::make_unique<MainCommandsHost>(*this);
    FCommands = std::make_unique<WebcamCommands>(
        *FCommandsHost, WebcamCommandsState{Starting, Stopping, StopRequested, FThumbnails->ShiftState, Config, Extra,
                                            Extra1, DiskMan, MotionSettings});
    FQuickBar = std::make_unique<QuickBarLink>(*this);
    FWeb = std::make_unique<WebCommands>(
        *FCommandsHost,
        WebCommandsState{Starting, FThumbnails->ShiftState, Config, Extra1, DiskMan, Ini,
                         [this] { if (RegConfig) RegConfig->WriteExtra12(Extra1, Extra2); },
                         [this] { RememberDiskPageState(); }, [this] { FCommands->MotionDetectionSettings1Click(); }});
    FPictures = std::make_unique<PictureCommands>(*this, PictureCommandsState{StopRequested, FThumbnails->ShiftState},
                                                  FDisk->DiskThumbs(), *FViewer);
    BindHandlers();
    new DialogPlacement(*this);
    FormCreate();
}

Tsupamain::~Tsupamain() {
    // Without a shutdown (a failed start-up, or a test), the engine still goes first: its
    // threads report to this window until they have ended. What works on the manager goes
    // before it.
    Timer3->stop();
    Timer4->stop();
    FQuickBar.reset();  // an open bar saves its buttons, by the manager's names
    FreeEngine();
    // The grid driver filters the grid's viewport events: it goes before the grid, which would
    // otherwise send it events while half destroyed.
    delete FThumbnails;
    FThumbnails = nullptr;
}

// Keys the focused control leaves alone reach the form: the arrows move between webcams and
// pictures as they do in the grid, and the shift state is kept for the grid's gestures.
void Tsupamain::keyPressEvent(QKeyEvent* event) {
    int key = event->key();
    FThumbnails->FormKeyDown(key, ShiftStateAfter(*event));
    if (key == 0) event->accept();
    else QMainWindow::keyPressEvent(event);
}

void Tsupamain::keyReleaseEvent(QKeyEvent* event) {
    int key = event->key();
    FThumbnails->KeyUp(key, ShiftStateAfter(*event));
    QMainWindow::keyReleaseEvent(event);
}

// The cell size of the thumbnail chosen on the viewer's picture takes effect at the next start.
void Tsupamain::Selectthumbnailsize1Click() {
    int height = 0, width = 0;
    if (!selthumbsize().Execute(FViewer->ShownPicture(), height, width)) return;
    Extra2.ThumbWidth = width - 12;
    Extra2.ThumbHeight = height - 26;
    if (RegConfig) RegConfig->WriteExtra12(Extra1, Extra2);
    platform::CurrentPrompts().Message(QStringLiteral("Restart Orvello for this to take effect"));
}

void Tsupamain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    // The splitter would share a change of size out by its own rule: the grid keeps the width
    // the user gave it, as far as the view's least width allows.
    ApplyLeftPanelWidth();
    FThumbnails->FormResize();
}

void Tsupamain::ApplyLeftPanelWidth() {
    if (FLeftPanelWidth <= 0) return;
    const int total = Splitter1->width();
    Splitter1->setSizes({FLeftPanelWidth, std::max(1, total - FLeftPanelWidth)});
}

void Tsupamain::FormCreate() {
    Shown = false;
    DebugLog = std::make_unique<engine::tdebuglog>();
    DebugLog->FFileName = platform::ProgramFolder() + "debug.txt";
    DebugLog->FEnabled = true;
    ErrorLog = std::make_unique<engine::terrorlog>();
}

void Tsupamain::BuildControls() {
    FMenus = BuildMainMenus(*this);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(2, 2, 2, 2);
    Splitter1 = Make<QSplitter>(central, "Splitter1", Qt::Horizontal);
    layout->addWidget(Splitter1, 1);

    // Neither side can be pushed away: the grid keeps one whole column (its own least width).
    Splitter1->setChildrenCollapsible(false);
    Panel1 = Make<QWidget>(Splitter1, "Panel1");
    auto* left = new QVBoxLayout(Panel1);
    left->setContentsMargins(0, 0, 0, 0);
    ComboBox1 = Make<QComboBox>(Panel1, "ComboBox1");
    ComboBox1->addItems(ViewFilterCaptions());
    connect(ComboBox1, &QComboBox::currentIndexChanged, this, [this] {
        if (FFilters) FFilters->ComboBox1Change();
    });
    left->addWidget(ComboBox1);
    DrawGrid11 = Make<TDrawGrid1>(Panel1, "DrawGrid11");
    left->addWidget(DrawGrid11, 1);
    FThumbnails = new ThumbnailGrid(*DrawGrid11, *this, this);

    PageControl2 = Make<TPageControl1>(Splitter1, "PageControl2");
    PageControl2->addTab(BuildViewerPage(), QStringLiteral("Vue"));
    FDisk = new DiskPage(*this, PageControl2);
    TabSheet12 = FDisk;
    Label27 = FDisk->Label27;
    CheckBox22 = FDisk->CheckBox22;
    CheckBox25 = FDisk->CheckBox25;
    PageControl2->addTab(TabSheet12, QStringLiteral("Disque"));
    connect(PageControl2, &QTabWidget::currentChanged, this, [this] { PageControl2Change(); });
    Splitter1->setStretchFactor(1, 1);
    // Moving the panel's edge is the user's split; the grid is laid out again, as a resize of
    // the window does.
    connect(Splitter1, &QSplitter::splitterMoved, this, [this] {
        FLeftPanelWidth = Panel1->width();
        FThumbnails->FormResize();
    });

    auto* status = new QHBoxLayout;
    // The status line names a webcam and its state: that stays readable in a narrow window,
    // where the gauges give up room first; only a very long line is cut, in its middle.
    auto* statusLabel = Make<ElidedLabel>(central, "Label1", Qt::ElideMiddle);
    statusLabel->SetReadableWidth(kReadableStatusWidth);
    Label1 = statusLabel;
    status->addWidget(Label1, 1);
    for (std::size_t i = 0; i < Gauges.size(); ++i) {
        const QByteArray name = "MMLEDGauge" + QByteArray::number(static_cast<int>(i + 1));
        Gauges[i] = Make<media::TMMLEDGauge>(central, name.constData());
        Gauges[i]->setMinimumSize(kLeastGaugeWidth, kGaugeHeight);
        Gauges[i]->setMaximumSize(kGaugeWidth, kGaugeHeight);
        status->addWidget(Gauges[i], 1);
    }
    // What each gauge measures: shares of the running webcams, then of the fetch threads.
    Gauges[0]->setToolTip(QStringLiteral("Webcams en marche qui attendent leur tour"));
    Gauges[1]->setToolTip(QStringLiteral("Webcams en marche en attente de leur prochaine image"));
    Gauges[2]->setToolTip(QStringLiteral("Connexions qui téléchargent une image"));
    Gauges[3]->setToolTip(QStringLiteral("Connexions qui vérifient un en-tête"));
    Gauges[4]->setToolTip(QStringLiteral("Affichage de la détection de mouvement - Cliquer pour ajuster  "));
    connect(Gauges[4], &media::TMMLEDGauge::clicked, this, [this] { FCommands->MMLEDGauge5Click(); });
    Edit3 = Make<QLineEdit>(central, "Edit3");
    Edit3->setReadOnly(true);
    Edit3->setFixedWidth(110);
    status->addWidget(Edit3);
    SpeedButton2 = Make<QToolButton>(central, "SpeedButton2");
    SpeedButton2->setText(QStringLiteral("..."));
    SpeedButton2->setToolTip(QStringLiteral("Paramètres d'enregistrements"));
    connect(SpeedButton2, &QToolButton::clicked, this, [this] { FCommands->GlobalSaveControl1Click(); });
    status->addWidget(SpeedButton2);
    layout->addLayout(status);
    setCentralWidget(central);

    Timer3 = Make<QTimer>(this, "Timer3");
    Timer3->setInterval(1000);
    Timer3->setSingleShot(true);
    connect(Timer3, &QTimer::timeout, this, [this] { Timer3Timer(); });
    Timer4 = Make<QTimer>(this, "Timer4");
    Timer4->setInterval(30000);
    connect(Timer4, &QTimer::timeout, this, [this] { Timer4Timer(); });

    setWindowIcon(ProgramIcon());
    // Nothing runs yet: the stop-all button shows its idle image.
    FindCommand(*this, "ToolButton9")->setIcon(StopAllIcon(1));
    PGTrayIcon951 = new desktop::TPGTrayIcon95(this);
    PGTrayIcon951->setObjectName(QStringLiteral("PGTrayIcon951"));
    PGTrayIcon951->SetOptions(desktop::toUnclutterTaskBar);
    PGTrayIcon951->SetIcon(ProgramIcon());
    PGTrayIcon951->SetDisabledIcon(QIcon(ProgramIcon().pixmap(32, QIcon::Disabled)));
    PGTrayIcon951->SetState(desktop::tsDisabled);
    PGTrayIcon951->SetPopupMenu(FMenus.trayPopup);
    PGTrayIcon951->SetAutoPopup(true);
    PGTrayIcon951->SetHint(QStringLiteral("OVL"));
}

// The viewer page: the current webcam's panel and tool bar above the enlarged picture.
QWidget* Tsupamain::BuildViewerPage() {
    TabSheet11 = Make<QWidget>(PageControl2, "TabSheet11");
    auto* page = new QVBoxLayout(TabSheet11);
    Panel9 = Make<QWidget>(TabSheet11, "Panel9");
    auto* panel = new QGridLayout(Panel9);
    panel->setContentsMargins(2, 2, 2, 2);
    Label2 = Make<ElidedLabel>(Panel9, "Label2", Qt::ElideRight);
    QFont bold = Label2->font();
    bold.setBold(true);
    Label2->setFont(bold);
    Label4 = Make<QLabel>(Panel9, "Label4");
    Label5 = Make<QLabel>(Panel9, "Label5");
    // The description (or the picture address) and, at its end, the age of the last picture.
    Label16 = Make<ElidedLabel>(Panel9, "Label16", Qt::ElideMiddle);
    panel->addWidget(Label2, 0, 0);
    panel->addWidget(Label4, 0, 1);
    panel->addWidget(Label5, 0, 2, Qt::AlignRight);
    panel->addWidget(Label16, 1, 0, 1, 3);
    panel->setColumnStretch(0, 1);
    page->addWidget(Panel9);

    auto* tools = new QHBoxLayout;
    tools->addWidget(FMenus.webcamToolBar, 1);
    SpeedButton3 = Make<QToolButton>(TabSheet11, "SpeedButton3");
    SpeedButton3->setText(QStringLiteral("Embellir"));
    SpeedButton3->setToolTip(QStringLiteral("Embellir l'image - Clique droit pour ajuster"));
    SpeedButton3->setCheckable(true);
    SpeedButton3->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(SpeedButton3, &QToolButton::clicked, this, [this] { SpeedButton3Click(); });
    connect(SpeedButton3, &QWidget::customContextMenuRequested, this, [this] { OpenImageproc(); });
    tools->addWidget(SpeedButton3);
    page->addLayout(tools);

    const auto motionSettings = [this] {
        return engine::ValidMotionSettings(engine::MotionSettingsFromValues(MotionSettings));
    };
    FViewer = new TViewer(*this, JpegViewerServices(motionSettings), TabSheet11);
    FViewer->setObjectName(QStringLiteral("Viewer"));
    FViewer->OnStartDrag = [this]() -> QMimeData* { return FThumbnails->ViewerDrag().release(); };
    page->addWidget(FViewer, 1);
    imageproc().OnChange = [this](int level, int mix) { ImageprocChange(level, mix); };
    return TabSheet11;
}

void Tsupamain::BindHandlers() {
    CommandHandlers handlers = {
        {"Startallwebcams2Click", [this] { FindCommand(*this, "ToolButton8")->trigger(); }},
        {"Stopallwebcams2Click", [this] { FindCommand(*this, "ToolButton9")->trigger(); }},
        {"Exit1Click", [this] { Exit1Click(); }},
        {"ToolButton25Click", [this] { FQuickBar->ToolButton25Click(); }},
        {"About1Click", [this] { About1Click(); }},
        {"SelectAll1Click",
         [this] {
             if (FDisk->DrawGrid12->hasFocus()) FDisk->DiskThumbs().SelectAll();
             else FThumbnails->SelectAll();
         }},
        {"SelectWebcamFolder1Click", [this] { SelectWebcamFolder1Click(); }},
        {"ToolButton1Click", [this] { FThumbnails->ShowPreviousWebcam(); }},
        {"ToolButton2Click", [this] { FThumbnails->ShowNextWebcam(); }},
        {"Button2Click",
         [this] {
             FThumbnails->ShiftState = 0;
             if (engine::twebcammanager* manager = WebcamManager()) OpenWebcamLink(*manager, FCurrentWebcam, this);
         }},
        // Check items: the check mark is the setting; the grid reads it when it draws.
        {"StatusLEDs1Click", [this] { RepaintGrid(); }},
        {"Selectthumbnailsize1Click", [this] { Selectthumbnailsize1Click(); }},
        {"WebcamHints1Click", [] {}},
        {"ToolButton7Click",
         [this] {
             FFollowNewPictures = FindCommand(*this, "ToolButton7")->isChecked();
             FThumbnails->ShiftState = 0;
         }},
        {"Autoupdate1Click",
         [this] {
             QAction* button = FindCommand(*this, "ToolButton7");
             button->setChecked(!button->isChecked());
             FFollowNewPictures = button->isChecked();
         }},
        // The command turns the check mark itself: Qt's own toggle is taken back first.
        {"SlowScanInactiveWebcams1Click",
         [this] {
             FindCommand(*this, "SlowScanInactiveWebcams1")->toggle();
             FCommands->SlowScanInactiveWebcams1Click();
         }},
    };
    using WebCommand = void (WebCommands::*)();
    static const std::pair<const char*, WebCommand> kWebCommands[] = {
        {"Checkfornewversion1Click", &WebCommands::Checkfornewversion1Click},
        {"Downloadwebcamlist1Click", &WebCommands::Downloadwebcamlist1Click},
        {"Createwebcamfromwebcamlist1Click", &WebCommands::Createwebcamfromwebcamlist1Click},
        {"ProxySetup1Click", &WebCommands::ProxySetup1Click},
        {"Preferences1Click", &WebCommands::Preferences1Click},
        {"AutoCreatePreferences1Click", &WebCommands::AutoCreatePreferences1Click},
        {"Contents1Click", &WebCommands::Contents1Click},
        {"NewinVersion31Click", &WebCommands::NewinVersion31Click},
        {"BrowsetoOrvellohomepage1Click", &WebCommands::BrowsetoOrvellohomepage1Click},
        {"BrowseWeatherInformation1Click", &WebCommands::BrowseWeatherInformation1Click},
        {"ShowMapforcurrentwebcam1Click", &WebCommands::ShowMapforcurrentwebcam1Click},
    };
    for (const auto& [name, command] : kWebCommands)
        handlers.emplace(name, [this, command = command] {
            (FWeb.get()->*command)();
            RunDeferredClose();  // a close that came while webcams were added from a list
        });
    using PictureCommand = void (PictureCommands::*)();
    static const std::pair<const char*, PictureCommand> kPictureCommands[] = {
        {"ToolButton16Click", &PictureCommands::ToolButton16Click},
        {"ToolButton10Click", &PictureCommands::ToolButton10Click},
        {"ToolButton11Click", &PictureCommands::ToolButton11Click},
        {"ToolButton17Click", &PictureCommands::ToolButton17Click},
        {"CopySelectedPictures1Click", &PictureCommands::CopySelectedPictures1Click},
        {"MoveSelectedPictures1Click", &PictureCommands::MoveSelectedPictures1Click},
        {"DeleteSelectedDiskPictures1Click", &PictureCommands::DeleteSelectedDiskPictures1Click},
        {"DeleteAllPicturesforcurrentwebcam1Click", &PictureCommands::DeleteAllPicturesforcurrentwebcam1Click},
        {"SaveCurrentPicture1Click", &PictureCommands::SaveCurrentPicture1Click},
        {"CopyPicturetoClipboard1Click", &PictureCommands::CopyPicturetoClipboard1Click},
        {"CopyPictureFilenametoClipboard1Click", &PictureCommands::CopyPictureFilenametoClipboard1Click},
        {"SaveselectedpicturesasAVIfile1Click", &PictureCommands::SaveselectedpicturesasAVIfile1Click},
    };
    for (const auto& [name, command] : kPictureCommands)
        handlers.emplace(name, [this, command = command] { (FPictures.get()->*command)(); });
    using Command = void (WebcamCommands::*)();
    static const std::pair<const char*, Command> kCommands[] = {
        {"ToolButton8Click", &WebcamCommands::ToolButton8Click},
        {"ToolButton9Click", &WebcamCommands::ToolButton9Click},
        {"ToolButton13Click", &WebcamCommands::ToolButton13Click},
        {"ToolButton14Click", &WebcamCommands::ToolButton14Click},
        {"Startselectedwebcams1Click", &WebcamCommands::Startselectedwebcams1Click},
        {"Stopselectedwebcams1Click", &WebcamCommands::Stopselectedwebcams1Click},
        {"StartFavorites1Click", &WebcamCommands::StartFavorites1Click},
        {"ToolButton20Click", &WebcamCommands::ToolButton20Click},
        {"ToolButton19Click", &WebcamCommands::ToolButton19Click},
        {"Enableselectedwebcams1Click", &WebcamCommands::Enableselectedwebcams1Click},
        {"Disableselectedwebcams1Click", &WebcamCommands::Disableselectedwebcams1Click},
        {"Enableallwebcams1Click", &WebcamCommands::Enableallwebcams1Click},
        {"Disableallwebcams1Click", &WebcamCommands::Disableallwebcams1Click},
        {"New1Click", &WebcamCommands::New1Click},
        {"Edit2Click", &WebcamCommands::Edit2Click},
        {"Editwebcamcategories1Click", &WebcamCommands::Editwebcamcategories1Click},
        {"Deletecurrentwebcam1Click", &WebcamCommands::Deletecurrentwebcam1Click},
        {"Deleteselectedwebcams1Click", &WebcamCommands::Deleteselectedwebcams1Click},
        {"Deletedisabledwebcams1Click", &WebcamCommands::Deletedisabledwebcams1Click},
        {"Deleteallwebcams1Click", &WebcamCommands::Deleteallwebcams1Click},
        {"Addcurrentwebcamtoscreensaverlist1Click", &WebcamCommands::Addcurrentwebcamtoscreensaverlist1Click},
        {"Screensaverwebcamlist1Click", &WebcamCommands::Screensaverwebcamlist1Click},
        {"AddselectedwebcamstoFavorites2Click", &WebcamCommands::AddselectedwebcamstoFavorites2Click},
        {"RemoveselectedwebcamsfromFavorites1Click", &WebcamCommands::RemoveselectedwebcamsfromFavorites1Click},
        {"ClearFavorites1Click", &WebcamCommands::ClearFavorites1Click},
        {"ShowFavorites1Click", &WebcamCommands::ShowFavorites1Click},
        {"PreferencesforFavorites1Click", &WebcamCommands::PreferencesforFavorites1Click},
        {"SelectNone1Click", &WebcamCommands::SelectNone1Click},
        {"InvertSelection1Click", &WebcamCommands::InvertSelection1Click},
        {"Changerefreshrateforselectedwebcams1Click", &WebcamCommands::Changerefreshrateforselectedwebcams1Click},
        {"Changesavesettingsforselectedwebcams1Click", &WebcamCommands::Changesavesettingsforselectedwebcams1Click},
        {"GlobalSaveControl1Click", &WebcamCommands::GlobalSaveControl1Click},
        {"MotionDetectionSettings1Click", &WebcamCommands::MotionDetectionSettings1Click},
        {"SelectWebcam1Click", &WebcamCommands::SelectWebcam1Click},
        {"SaveWebcamList1Click", &WebcamCommands::SaveWebcamList1Click},
        {"Refreshclick", &WebcamCommands::Refreshclick},
        {"Showlastheader1Click", &WebcamCommands::Showlastheader1Click},
    };
    for (const auto& [name, command] : kCommands)
        handlers.emplace(name, [this, command = command] {
            (FCommands.get()->*command)();
            RunDeferredClose();  // a close that came while a start ran
        });
    AddToolCommands(*this, handlers);
    BindCommands(*this, handlers);
}

bool Tsupamain::StatusLEDs() const {
    return FindCommand(const_cast<Tsupamain&>(*this), "StatusLEDs1")->isChecked();
}

bool Tsupamain::WebcamHints() const {
    return FindCommand(const_cast<Tsupamain&>(*this), "WebcamHints1")->isChecked();
}

void Tsupamain::PopupGridMenu(const QPoint& screenPoint) { FMenus.gridPopup->popup(screenPoint); }

void Tsupamain::Exit1Click() { close(); }

void Tsupamain::About1Click() {
    aboutbox().Execute(QString::fromStdString(platform::Cp1252ToUtf8(Ini.AffTitle)));
}

void Tsupamain::SetGlobalSaveText(const QString& text) { Edit3->setText(text); }

bool Tsupamain::ToggleSlowScanMark() {
    QAction* item = FindCommand(*this, "SlowScanInactiveWebcams1");
    item->setChecked(!item->isChecked());
    return item->isChecked();
}

void Tsupamain::UpdateTrayHint() {
    if (!DiskMan.TrayIcon) return;
    PGTrayIcon951->SetHint(TrayHintText(Manager ? Manager->RunningCount() : 0));
}

}  // namespace ui
