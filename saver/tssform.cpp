#include "saver/tssform.h"

#include "engine/definition_files.h"
#include "platform/cp1252.h"
#include "platform/qt/prompts.h"
#include "platform/safe_name.h"
#include "saver/host_window.h"
#include "saver/input_grab.h"
#include "saver/saver_instance.h"
#include "saver/saver_canvas.h"
#include "saver/saver_list.h"
#include "saver/saver_picture.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include <filesystem>

namespace saver {
namespace {

QString FromRecord(std::string_view bytes) { return QString::fromStdString(platform::Cp1252ToUtf8(bytes)); }

}  // namespace

Tssform::Tssform(WId hostWindow, QWidget* parent)
    : QWidget(parent), FHostWindow(hostWindow), Image1(new SaverCanvas(this)), Panel1(new QLabel(this)),
      Timer1(new QTimer(this)), FGrab(new InputGrab(*this)) {
    setObjectName(QStringLiteral("ssform"));
    setWindowTitle(QStringLiteral("Orvello Screen Saver"));
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setAutoFillBackground(true);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    black.setColor(QPalette::WindowText, QColor(0, 128, 0));
    setPalette(black);
    setFocusPolicy(Qt::StrongFocus);

    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(kCaptionPanelHeight);
    Panel1->setAlignment(Qt::AlignCenter);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(13);
    Panel1->setFont(font);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Image1, 1);
    layout->addWidget(Panel1);

    for (QWidget* control : {static_cast<QWidget*>(this), static_cast<QWidget*>(Image1), static_cast<QWidget*>(Panel1)})
        control->setMouseTracking(true);
    Image1->installEventFilter(this);
    Panel1->installEventFilter(this);

    Timer1->setObjectName(QStringLiteral("Timer1"));
    connect(Timer1, &QTimer::timeout, this, &Tssform::NextPicture);
    connect(FGrab, &InputGrab::pressed, this, &Tssform::UserActivity);
    connect(FGrab, &InputGrab::moved, this, [this](QPoint global) {
        if (FTravel.Moved(global)) UserActivity();
    });
}

Tssform::~Tssform() {
    FClosing = true;
    if (FThread) FThread.release()->Abandon();
}

void Tssform::Report(const QString& text, platform::Prompts::Icon icon) {
    if (FHostWindow != 0) {
        FReason = text;
        return;
    }
    platform::CurrentPrompts().Message(text, icon);
}

bool Tssform::FormCreate() {
    FSettings = ReadSaverSettings();
    FDataDir = FSettings.DataFolder();
    const engine::TExtra1Rec& extra1 = FSettings.extra1;
    if (FDataDir.size() < 2 || !std::filesystem::exists(FDataDir + engine::kWebcamsDef)) {
        Report(QStringLiteral("Orvello Screen Saver cannot run. There are no webcams currently defined. Run Orvello "
                              "to define some."),
               platform::Prompts::Icon::Error);
        FClosing = true;
        return false;
    }
    FTravel.Reset(QCursor::pos());
    // Savers of several screens would take each other's hold for the main program's: one in
    // a daemon's window only asks.
    if (extra1.SaverWithMain == 0 &&
        !NobodyElseHolds(FHostWindow != 0 ? FSemaphore.Probe() : FSemaphore.Acquire(), FSemaphore)) {
        FClosing = true;  // the main program runs
        return false;
    }
    FList = BuildSaverList(FDataDir, extra1);
    rotation_ = PictureRotation(extra1.SaverInOrder != 0);
    if (FList.empty()) {
        Report(extra1.SaverSavedOnly == 1
                   ? QStringLiteral("There are no saved images to display. Run Orvello to capture some pictures")
                   : QStringLiteral("There are no webcams defined. Run Orvello to configure"));
        FClosing = true;
        return false;
    }
    Timer1->setInterval(PictureIntervalMs(extra1.SaverInterval));
    return true;
}

void Tssform::Start() {
    if (FClosing) return;
    ShowWindow();
    FTravel.Reset(QCursor::pos());
    Image1->ClearPicture();
    SetCaption(QStringLiteral("Orvello Screen Saver - Loading first image..."));
    NextPicture();
}

void Tssform::StandIdle() {
    FClosing = true;  // nothing is drawn but the reason
    ShowWindow();
    Image1->ClearPicture();
    SetCaption(FReason);
}

void Tssform::ShowWindow() {
    if (FHostWindow != 0) {
        // Inside the daemon's window, sized to it. The foreign window object lives as long as
        // the process: ours is its child.
        QWindow* host = QWindow::fromWinId(FHostWindow);
        winId();
        windowHandle()->setParent(host);
        setGeometry(QRect(QPoint(0, 0), HostWindowSize(FHostWindow)));
        show();
    } else {
        setWindowFlag(Qt::WindowStaysOnTopHint);
        setGeometry(screen()->geometry());
        showFullScreen();
        activateWindow();
        setCursor(Qt::BlankCursor);
        FGrab->Start();
    }
}

QString Tssform::caption() const { return Panel1->text(); }
QRect Tssform::drawRect() const { return Image1->drawRect(); }

void Tssform::SetCaption(const QString& text) { Panel1->setText(text); }

void Tssform::NextPicture() {
    Timer1->stop();
    if (FClosing) return;
    if (SavedOnly()) {
        SelectNextWebcam(true);
        ShowSavedPicture();
        Timer1->start();
        return;
    }
    SelectNextWebcam(false);
    // The previous fetch has delivered its reply; its thread ends right after.
    FThread.reset();
    FThread = std::make_unique<LiveFetchThread>(LiveRequestFor(FList[index()].FRec, FSettings),
                                                [this](const LiveReply& reply) {
                                                    if (reply.ok) ShowDownloadedPicture(reply);
                                                    else FallBackToSaved();
                                                });
}

void Tssform::SelectNextWebcam(bool savedOnly) { rotation_.SelectNext(FList, savedOnly); }

void Tssform::ShowDownloadedPicture(const LiveReply& reply) {
    if (FClosing) return;
    FPicture = DecodePicture(reply.body);
    if (FPicture.isNull()) {
        FallBackToSaved();
        return;
    }
    DrawPicture(true);
    Timer1->start();
}

void Tssform::FallBackToSaved() {
    if (FClosing) return;
    rotation_.BeginFallBack(FList);
    ShowSavedPicture();
    rotation_.EndFallBack();  // the live rotation goes on from the webcam that failed
    Timer1->start();
}

void Tssform::ShowSavedPicture() {
    if (index() < 0) {
        SetCaption(QStringLiteral("Orvello Screen Saver -- No saved images available"));
        return;
    }
    const engine::TWebcamDefRec& rec = FList[index()].FRec;
    const std::vector<std::string> names = SavedPictureNames(FDataDir, rec);
    if (names.empty()) return;
    const std::string& name = names[rotation_.PickSaved(names.size())];
    QImage picture = LoadPictureFile(platform::SafeSubfolder(FDataDir, rec.Name.view()) + name);
    if (picture.isNull()) return;  // the previous picture stays
    FPicture = std::move(picture);
    DrawPicture(false);
}

void Tssform::DrawPicture(bool live) {
    if (index() < 0) {
        SetCaption(QStringLiteral("No saved images available"));
        return;
    }
    if (FPicture.isNull()) return;
    const engine::TWebcamDefRec& rec = FList[index()].FRec;
    FCaption = FromRecord(rec.Description.empty() ? rec.PictureURL.view() : rec.Description.view()) +
               (live ? QStringLiteral("  (Current view)") : QStringLiteral("  (Saved view)"));
    SetCaption(FCaption);
    PlacePicture();
}

void Tssform::PlacePicture() {
    if (FPicture.isNull()) return;
    Image1->ShowPicture(FPicture, PictureRect(FPicture.width(), FPicture.height(), Image1->width(), Image1->height(),
                                              FSettings.extra1.SaverDisplay));
}

void Tssform::UserActivity() {
    if (FHostWindow != 0) return;  // the daemon ends a saver drawing into its window
    EndSaver();
}

void Tssform::EndSaver() {
    if (FClosing) return;
    FClosing = true;
    Timer1->stop();
    if (FThread) FThread->Cancel();
    unsetCursor();
    emit ended();
    QApplication::quit();
}

void Tssform::keyPressEvent(QKeyEvent*) { UserActivity(); }
void Tssform::mousePressEvent(QMouseEvent*) { UserActivity(); }
void Tssform::mouseReleaseEvent(QMouseEvent*) { UserActivity(); }

void Tssform::mouseMoveEvent(QMouseEvent* event) {
    // Screen positions, so moving from the picture onto the caption panel is no jump.
    if (FTravel.Moved(event->globalPosition().toPoint())) UserActivity();
}

bool Tssform::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
        UserActivity();
        return true;
    case QEvent::MouseMove:
        mouseMoveEvent(static_cast<QMouseEvent*>(event));
        return true;
    case QEvent::Resize:
        if (watched == Image1) PlacePicture();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace saver
