// The main window as the host of its views: the current webcam, its panel, the grid's redraws,
// the view filter and the gauges, the enlarged view's enhancement window.
#include <chrono>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QTimer>
#include <QToolButton>

#include "desktop/tray_icon.h"
#include "engine/motion_settings.h"
#include "engine/webcam.h"
#include "engine/webcam_manager.h"
#include "media/qt/led_gauge.h"
#include "platform/clock.h"
#include "ui/controls/draw_grid1.h"
#include "ui/controls/page_control1.h"
#include "ui/filters/view_filter.h"
#include "ui/filters/view_filters.h"
#include "ui/grid/run_state.h"
#include "ui/grid/thumbnail_grid.h"
#include "ui/icons/icons.h"
#include "ui/main/main_menus.h"
#include "ui/main/quick_bar_link.h"
#include "ui/main/screen_placement.h"
#include "ui/main/status_gauges.h"
#include "ui/main/tsupamain.h"
#include "ui/viewer/imageproc.h"
#include "ui/viewer/viewer.h"
#include "ui/viewer/webcam_info.h"

namespace ui {
namespace {

constexpr std::chrono::milliseconds kStatusFrame(16);

}  // namespace

engine::twebcammanager* Tsupamain::WebcamManager() const { return Manager ? Manager->Manager() : nullptr; }

QPoint Tsupamain::BelowSpeedButton2() const { return SpeedButton2->mapToGlobal(QPoint(0, SpeedButton2->height())); }

void Tsupamain::MarkCurrentWebcam(int webcam) { FThumbnails->MarkCurrentWebcam(webcam); }

void Tsupamain::RedrawWebcamCell(int webcam) { FThumbnails->RedrawWebcamCell(webcam); }

void Tsupamain::UpdateGridRows() { FThumbnails->UpdateGridRows(); }

void Tsupamain::RepaintGrid() { FThumbnails->Repaint(); }

void Tsupamain::GridChanged() {
    UpdateGridRows();
    RepaintGrid();
}

void Tsupamain::ApplyViewFilter() {
    if (FFilters) FFilters->ApplyViewFilter();
    else GridChanged();
}

void Tsupamain::Timer4Timer() {
    if (!Closing && FFilters) FFilters->Timer4Timer();
}

int Tsupamain::FilterItem() const { return ComboBox1->currentIndex(); }

void Tsupamain::ShowFilter(int item) {
    const QSignalBlocker blocker(ComboBox1);
    ComboBox1->setCurrentIndex(item);
    ApplyViewFilter();
}

void Tsupamain::ShowFavourites() {
    {
        const QSignalBlocker blocker(ComboBox1);
        ComboBox1->setCurrentIndex(kFilterFavourites);
    }
    if (FFilters) FFilters->ComboBox1Change();
}

void Tsupamain::FocusGrid() {
    DrawGrid11->setFocus();
    FThumbnails->ShiftState = 0;
}

void Tsupamain::SetRunState(int code) {
    // What the run state shows of the window.
    class Display : public RunStateView {
    public:
        explicit Display(Tsupamain& form) : form_(form) {}
        void SetStopAllImage(int imageIndex) override {
            FindCommand(form_, "ToolButton9")->setIcon(StopAllIcon(imageIndex));
        }
        void SetTrayIconEnabled(bool enabled) override {
            form_.PGTrayIcon951->SetState(enabled ? desktop::tsEnabled : desktop::tsDisabled);
        }
        void ResetCursor() override {
            while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
        }
        void SetStatusText(const QString& text) override { form_.SetStatusLabel(text); }
        void SetThumbnailButtonCaption(const QString& caption) override { form_.FDisk->BitBtn2->setText(caption); }
        void ApplyDiskThumbnailSwitch() override { form_.FDisk->ApplyThumbnailSwitch(); }

    private:
        Tsupamain& form_;
    } display(*this);
    FRunState.StopRequested = StopRequested;
    ui::SetRunState(code, FRunState, display, DiskMan.TrayIcon != 0);
    StopRequested = FRunState.StopRequested;
}

bool Tsupamain::ViewerPageShown() const { return PageControl2->currentWidget() == TabSheet11; }

// The label takes the last text of a frame: every new text of the label lays the window out again.
void Tsupamain::SetStatusLabel(const QString& text) {
    FStatusLabelText = text;
    FStatusLabelDue = true;
    StartStatusFrame();
}

void Tsupamain::StartStatusFrame() {
    if (!FStatusFrame) {
        FStatusFrame = new QTimer(this);
        FStatusFrame->setSingleShot(true);
        FStatusFrame->setInterval(kStatusFrame);
        connect(FStatusFrame, &QTimer::timeout, this, [this] { ShowStatusFrame(); });
    }
    if (!FStatusFrame->isActive()) FStatusFrame->start();
}

void Tsupamain::SetStatusText(const QString& text) {
    if (!text.isEmpty()) SetStatusLabel(QStringLiteral(" ") + text);
}

void Tsupamain::RememberDiskPageState() {
    DiskMan.ActivePage = PageControl2->currentWidget() == TabSheet12 ? 2 : 1;
    DiskMan.AutoLoad = CheckBox25->isChecked() ? 1 : 0;
}


void Tsupamain::LoadCurrentMotionSettings() {
    engine::twebcammanager* manager = WebcamManager();
    const bool known = manager && FCurrentWebcam >= 1 && FCurrentWebcam <= manager->Count();
    const engine::TWebcamDef1Rec rec2 = known ? manager->GetWebcam(FCurrentWebcam)->Rec2() : engine::TWebcamDef1Rec{};
    KeepMotionSettings(engine::LoadMotionSettings(known ? &rec2 : nullptr));
    SetMotionGaugePoints(MotionThreshold() * 4);
}

void Tsupamain::SetMotionGaugePoints(int point) {
    Gauges[4]->SetPoint1(point);
    Gauges[4]->SetPoint2(point);
}

// Under load the engine's status changes come by the thousand a second: the gauges read the
// queue lengths and thread states (under the engine's locks) once a frame, not at each change.
void Tsupamain::UpdateStatusGauges() {
    FStatusGaugesDue = true;
    StartStatusFrame();
}

void Tsupamain::ShowStatusFrame() {
    if (FStatusLabelDue) Label1->setText(FStatusLabelText);
    FStatusLabelDue = false;
    if (!FStatusGaugesDue) return;
    FStatusGaugesDue = false;
    engine::twebcammanager* manager = WebcamManager();
    StatusGaugeInput in;
    if (manager) {
        in.running = manager->RunningCount();
        in.queued = manager->FQueues.QueuedCount();
        in.waiting = manager->FQueues.WaitingCount();
        manager->CountThreadStates(in.checkingHeader, in.fetchingPicture);
    }
    in.threadCount = Manager ? Manager->ThreadCount() : 0;
    const StatusGaugeValues values = StatusGauges(in);
    Gauges[0]->SetProgress(values.queued);
    Gauges[1]->SetProgress(values.waiting);
    Gauges[2]->SetProgress(values.picture);
    Gauges[3]->SetProgress(values.header);
}

void Tsupamain::ShowWebcam(int webcam) {
    if (!FSwitch) return;
    FSwitch->ShowWebcam(webcam);
    if (FCurrentWebcam == 0) ShowWebcamInfo();  // none left: the panel shows nobody
}

void Tsupamain::ShowWebcamInfo() {
    engine::twebcammanager* manager = WebcamManager();
    const engine::twebcam* webcam =
        manager && FCurrentWebcam >= 1 && FCurrentWebcam <= manager->Count() ? manager->GetWebcam(FCurrentWebcam)
                                                                             : nullptr;
    if (!webcam) {
        for (QLabel* label : {Label2, Label4, Label5, Label16}) label->clear();
        return;
    }
    const WebcamInfo info = WebcamInfoOf(*webcam, DiskEntryCount(), FDisk->DiskThumbs().Pending(), platform::Now());
    Label2->setText(info.name);
    Label4->setText(info.runState);
    Label5->setText(info.fileCount);
    Label16->setText(info.description);
    QAction* start = FindCommand(*this, "ToolButton13");
    QAction* stop = FindCommand(*this, "ToolButton14");
    start->setChecked(info.running);
    stop->setChecked(!info.running);
    start->setEnabled(info.enabled);
    stop->setEnabled(info.enabled);
    FindCommand(*this, "ToolButton20")->setChecked(info.enabled);
    FindCommand(*this, "ToolButton19")->setChecked(!info.enabled);
    Panel9->update();
}

void Tsupamain::EnhanceSettingsChanged(const EnhanceSettings& settings) {
    SpeedButton3->setChecked(settings.on);
    imageproc().SetPositions(settings.level, settings.mix);
}

void Tsupamain::WebcamBecameCurrent(int webcam, int cell) {
    engine::twebcammanager* manager = WebcamManager();
    FindCommand(*this, "ToolButton1")->setEnabled(cell != 0);
    FindCommand(*this, "ToolButton2")->setEnabled(manager && cell != manager->DisplayedCount() - 1);
    UpdateQuickBarButton(webcam);  // its new picture has been seen
}

void Tsupamain::UpdateQuickBarButton(int webcam) { FQuickBar->UpdateWebcamButton(webcam); }

void Tsupamain::MoveGridCursor(int webcam) { FThumbnails->MoveCursorTo(webcam); }

// Enhancement on or off for the shown picture.
void Tsupamain::SpeedButton3Click() {
    FViewer->Enhance.on = SpeedButton3->isChecked();
    FViewer->RedisplayPicture();
}

// A right press on SpeedButton3: the enhancement window opens below SpeedButton2 (on the
// screen), not modal.
void Tsupamain::OpenImageproc() {
    Timageproc& window = imageproc();
    window.move(PlaceOnScreenOf(*this, window, BelowSpeedButton2()));
    window.SetValues(FViewer->Enhance.level, FViewer->Enhance.mix);
}

void Tsupamain::ImageprocChange(int level, int mix) {
    FViewer->Enhance.level = level;
    FViewer->Enhance.mix = mix;
    FViewer->RedisplayPicture();
}

}  // namespace ui
