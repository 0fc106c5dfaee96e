#include "ui/main/tsupamain.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSplitter>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include "engine/categories.h"
#include "engine/messages.h"
#include "engine/webcam.h"
#include "engine/webcam_manager.h"
#include "media/qt/led_gauge.h"
#include "platform/cp1252.h"
#include "platform/program_dir.h"
#include "platform/qt/prompts.h"
#include "ui/controls/draw_grid1.h"
#include "ui/controls/page_control1.h"
#include "ui/dialogs/aboutbox.h"
#include "ui/forms/waitform.h"
#include "ui/grid/thumbnail_grid.h"
#include "ui/main/manager_grid_source.h"
#include "ui/main/status_gauges.h"

namespace ui {
namespace {

template <typename Widget, typename... Args>
Widget* Make(QWidget* parent, const char* name, Args&&... args) {
    auto* widget = new Widget(std::forward<Args>(args)..., parent);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

}  // namespace

Tsupamain::Tsupamain(Services services) : FServices(std::move(services)) {
    setObjectName(QStringLiteral("supamain"));
    setWindowTitle(QStringLiteral("Orvello"));
    BuildControls();
    BindHandlers();
    FormCreate();
}

Tsupamain::~Tsupamain() {
    // Without a shutdown (a failed start-up, or a test), the engine still goes first: its
    // threads report to this window until they have ended.
    Timer3->stop();
    Timer4->stop();
    Manager.reset();
    // The grid driver filters the grid's viewport events: it goes before the grid, which would
    // otherwise send it events while half destroyed.
    FThumbnails->SetSource(nullptr);
    delete FThumbnails;
    FThumbnails = nullptr;
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
    auto* splitter = Make<QSplitter>(central, "Splitter1", Qt::Horizontal);
    layout->addWidget(splitter, 1);

    Panel1 = Make<QWidget>(splitter, "Panel1");
    auto* left = new QVBoxLayout(Panel1);
    left->setContentsMargins(0, 0, 0, 0);
    ComboBox1 = Make<QComboBox>(Panel1, "ComboBox1");
    ComboBox1->addItem(QStringLiteral("Toutes les WebCams"));
    left->addWidget(ComboBox1);
    DrawGrid11 = Make<TDrawGrid1>(Panel1, "DrawGrid11");
    left->addWidget(DrawGrid11, 1);
    FThumbnails = new ThumbnailGrid(*DrawGrid11, *this, this);

    PageControl2 = Make<TPageControl1>(splitter, "PageControl2");
    TabSheet11 = Make<QWidget>(PageControl2, "TabSheet11");
    auto* viewer = new QVBoxLayout(TabSheet11);
    viewer->addWidget(FMenus.webcamToolBar);
    viewer->addStretch(1);
    PageControl2->addTab(TabSheet11, QStringLiteral("Vue"));
    TabSheet12 = Make<QWidget>(PageControl2, "TabSheet12");
    auto* disk = new QVBoxLayout(TabSheet12);
    Label27 = Make<QLabel>(TabSheet12, "Label27");
    CheckBox22 = Make<QCheckBox>(TabSheet12, "CheckBox22", QStringLiteral("Images JPEG seulement"));
    CheckBox25 = Make<QCheckBox>(TabSheet12, "CheckBox25", QStringLiteral("Afficher les vignettes"));
    disk->addWidget(Label27);
    disk->addWidget(CheckBox22);
    disk->addWidget(CheckBox25);
    disk->addStretch(1);
    PageControl2->addTab(TabSheet12, QStringLiteral("Disque"));
    splitter->setStretchFactor(1, 1);

    auto* status = new QHBoxLayout;
    Label1 = Make<QLabel>(central, "Label1");
    status->addWidget(Label1, 1);
    for (std::size_t i = 0; i < Gauges.size(); ++i) {
        const QByteArray name = "MMLEDGauge" + QByteArray::number(static_cast<int>(i + 1));
        Gauges[i] = Make<media::TMMLEDGauge>(central, name.constData());
        Gauges[i]->setFixedSize(80, 16);
        status->addWidget(Gauges[i]);
    }
    Edit3 = Make<QLineEdit>(central, "Edit3");
    Edit3->setReadOnly(true);
    Edit3->setFixedWidth(110);
    status->addWidget(Edit3);
    layout->addLayout(status);
    setCentralWidget(central);

    Timer3 = Make<QTimer>(this, "Timer3");
    Timer3->setInterval(1000);
    Timer3->setSingleShot(true);
    connect(Timer3, &QTimer::timeout, this, [this] { Timer3Timer(); });
    Timer4 = Make<QTimer>(this, "Timer4");
    Timer4->setInterval(30000);
    connect(Timer4, &QTimer::timeout, this, [this] { Timer4Timer(); });

    PGTrayIcon951 = new QSystemTrayIcon(QApplication::windowIcon(), this);
    PGTrayIcon951->setObjectName(QStringLiteral("PGTrayIcon951"));
    PGTrayIcon951->setToolTip(QStringLiteral("OVL"));
    PGTrayIcon951->setContextMenu(FMenus.trayPopup);
    connect(PGTrayIcon951, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::DoubleClick) FindCommand(*this, "ShowOrvello1")->trigger();
    });
}

void Tsupamain::BindHandlers() {
    const CommandHandlers handlers = {
        {"ToolButton8Click", [this] { ToolButton8Click(); }},
        {"Startallwebcams2Click", [this] { ToolButton8Click(); }},
        {"ToolButton9Click", [this] { ToolButton9Click(); }},
        {"Stopallwebcams2Click", [this] { ToolButton9Click(); }},
        {"Exit1Click", [this] { Exit1Click(); }},
        {"Exit2Click", [this] { Exit1Click(); }},
        {"About1Click", [this] { About1Click(); }},
        {"Sendtosystemtray1Click", [this] { MinimizeToTray(); }},
        {"ShowOrvello1Click", [this] { showNormal(); activateWindow(); }},
        {"SelectAll1Click", [this] { FThumbnails->SelectAll(); }},
        {"ToolButton1Click", [this] { FThumbnails->ShowPreviousWebcam(); }},
        {"ToolButton2Click", [this] { FThumbnails->ShowNextWebcam(); }},
        // Check items: the check mark is the setting; the grid reads it when it draws.
        {"StatusLEDs1Click", [this] { DrawGrid11->viewport()->update(); }},
        {"WebcamHints1Click", [] {}},
        {"SlowScanInactiveWebcams1Click",
         [this] { Extra1.SlowScanOn = FindCommand(*this, "SlowScanInactiveWebcams1")->isChecked() ? 1 : 0; }},
        {"ToolButton7Click", [this] { FollowNewPictures = FindCommand(*this, "ToolButton7")->isChecked(); }},
        {"Autoupdate1Click",
         [this] {
             QAction* button = FindCommand(*this, "ToolButton7");
             button->setChecked(!button->isChecked());
             FollowNewPictures = button->isChecked();
         }},
        {"Errorlogging1Click", [this] { ErrorLog->FEnabled = FindCommand(*this, "Errorlogging1")->isChecked(); }},
    };
    BindCommands(*this, handlers);
}

bool Tsupamain::StatusLEDs() const {
    return FindCommand(const_cast<Tsupamain&>(*this), "StatusLEDs1")->isChecked();
}

bool Tsupamain::WebcamHints() const {
    return FindCommand(const_cast<Tsupamain&>(*this), "WebcamHints1")->isChecked();
}

void Tsupamain::PopupGridMenu(const QPoint& screenPoint) { FMenus.gridPopup->popup(screenPoint); }

void Tsupamain::ShowWebcam(int webcam) {
    if (!Manager || webcam < 1 || webcam > Manager->Count()) return;
    FCurrentWebcam = webcam;
}

void Tsupamain::ApplyViewFilter() {
    engine::twebcammanager* manager = Manager ? Manager->Manager() : nullptr;
    if (manager) {
        manager->ClearDisplaySlots();
        int cell = 0;
        for (int i = 1; i <= manager->Count(); ++i)
            if (manager->GetWebcam(i)) manager->SetDisplaySlot(i, cell++);
    }
    FThumbnails->UpdateGridRows();
    DrawGrid11->viewport()->update();
}

void Tsupamain::Timer4Timer() {
    if (Closing) return;
    const int item = ComboBox1->currentIndex();
    if (item >= 3 && item <= 7) ApplyViewFilter();
}

void Tsupamain::UpdateStatusGauges() {
    engine::twebcammanager* manager = Manager ? Manager->Manager() : nullptr;
    StatusGaugeInput in;
    if (manager) {
        in.running = manager->RunningCount();
        in.queued = static_cast<int>(manager->FQueues.NormalQueue().size() + manager->FQueues.FavouriteQueue().size());
        in.waiting = static_cast<int>(manager->FQueues.WaitList().size());
        manager->CountThreadStates(in.checkingHeader, in.fetchingPicture);
    }
    in.threadCount = Manager ? Manager->ThreadCount() : 0;
    const StatusGaugeValues values = StatusGauges(in);
    Gauges[0]->SetProgress(values.queued);
    Gauges[1]->SetProgress(values.waiting);
    Gauges[2]->SetProgress(values.picture);
    Gauges[3]->SetProgress(values.header);
}

void Tsupamain::WebcamStatusChanged(int index, int status) {
    FThumbnails->RedrawWebcamCell(index + 1);
    UpdateStatusGauges();
    engine::twebcammanager* manager = Manager ? Manager->Manager() : nullptr;
    const engine::twebcam* webcam = manager ? manager->GetWebcam(index + 1) : nullptr;
    if (!webcam) return;
    Label1->setText(QString::fromStdString(platform::Cp1252ToUtf8(webcam->Name())) + QStringLiteral(" - ") +
                    QString::fromStdString(engine::WebcamStatusText(status)));
    Label1->repaint();
}

void Tsupamain::WebcamPictureArrived(int index) { FThumbnails->RedrawWebcamCell(index + 1); }

void Tsupamain::ToolButton8Click() {
    if (Starting || !Manager) return;
    if (Manager->Count() == 0) {
        // Importing webcams from a list comes with the list dialogs; the question stays.
        platform::CurrentPrompts().Ask(QString::fromStdString(engine::LoadMessage(65244)));
        return;
    }
    Starting = true;
    StopRequested = false;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Manager->StartAll();
    UpdateTrayHint();
    Starting = false;
    QApplication::restoreOverrideCursor();
    RunDeferredClose();
}

void Tsupamain::ToolButton9Click() {
    if (!Manager) return;
    if (Manager->Count() < 1) {
        platform::CurrentPrompts().Message(QString::fromStdString(engine::LoadMessage(65233)));
        return;
    }
    StopRequested = true;
    if (Stopping) return;
    StopAllBehindWaitForm();
    Stopping = false;
    UpdateStatusGauges();
    UpdateTrayHint();
}

// Stopping waits for every fetch thread to let go of its webcam; the wait form says why the
// window is busy meanwhile. Nothing is shown when no webcam runs.
void Tsupamain::StopAllBehindWaitForm() {
    if (!Manager || Manager->RunningCount() == 0) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Stopping = true;
    waitform().show();
    Manager->StopAll();
    waitform().hide();
    QApplication::restoreOverrideCursor();
}

void Tsupamain::Exit1Click() { close(); }

void Tsupamain::About1Click() {
    aboutbox().Execute(QString::fromStdString(platform::Cp1252ToUtf8(Ini.AffTitle)));
}

void Tsupamain::UpdateTrayHint() {
    if (!DiskMan.TrayIcon) return;
    const int running = Manager ? Manager->RunningCount() : 0;
    const std::string hint = running > 0 ? engine::LoadMessage(65209) + std::to_string(running) + engine::LoadMessage(65210)
                                         : engine::LoadMessage(65208);
    PGTrayIcon951->setToolTip(QString::fromStdString(hint));
}

}  // namespace ui
