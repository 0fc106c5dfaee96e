#include "ui/filters/view_filters.h"

#include "engine/categories.h"
#include "engine/webcam.h"
#include "engine/webcam_events.h"
#include "engine/webcam_manager.h"
#include "media/qt/led_gauge.h"
#include "platform/clock.h"
#include "platform/cp1252.h"
#include "ui/filters/view_filter.h"
#include "ui/filters/view_filter_host.h"

namespace ui {

void UpdateMotionGauge(media::TMMLEDGauge& gauge, std::uint8_t kind, int score, int threshold) {
    if (kind == engine::kPictureNoTest) {
        gauge.SetProgress(0);
        return;
    }
    gauge.SetProgress(score);
    gauge.SetPoint1(threshold * 4);
    gauge.SetPoint2(threshold * 4);
}

void ViewFilters::ApplyViewFilter() {
    FillDisplayMap(manager_, host_.FilterItem(), platform::Now());
    host_.GridChanged();
}

void ViewFilters::ComboBox1Change() {
    const int remembered = host_.CurrentWebcam();
    ApplyViewFilter();
    if (!HasCell(remembered)) host_.ShowWebcam(manager_.GetCellWebcam(0));
    host_.FocusGrid();
}

void ViewFilters::Timer4Timer() {
    if (IsTimeFilter(host_.FilterItem())) ApplyViewFilter();
}

bool ViewFilters::HasCell(int webcam) const {
    if (webcam < 1 || webcam > manager_.Count()) return false;
    const engine::twebcam* w = manager_.GetWebcam(webcam);
    return w && w->FDisplayCell >= 0;
}

void ViewFilters::WebcamStatusChanged(int Index, int Status) {
    host_.RedrawWebcamCell(Index + 1);
    host_.UpdateStatusGauges();
    if (Index < 0 || Index >= manager_.Count()) return;
    const engine::twebcam* webcam = manager_.GetWebcam(Index + 1);
    if (!webcam) return;
    host_.SetStatusLabel(QString::fromStdString(platform::Cp1252ToUtf8(webcam->Name())) + QStringLiteral(" - ") +
                         QString::fromStdString(engine::WebcamStatusText(Status)));
}

void ViewFilters::UpdateMotionGauge(std::uint8_t Kind, int Score) {
    ui::UpdateMotionGauge(host_.MotionGauge(), Kind, Score, host_.MotionThreshold());
}

void ViewFilters::ShowCurrentPicture(bool stream, const std::string& FileName, engine::twebcampicture* Picture,
                                     std::uint8_t Kind, int Score) {
    view_.SetShowsLivePicture(Picture != nullptr);
    if (!FileName.empty()) {
        // The new file is listed without building thumbnails for it now.
        const bool thumbnails = host_.DiskShowThumbnails();
        host_.SetDiskShowThumbnails(false);
        if (stream) {
            host_.DiskAddPending();
            host_.ShowWebcamInfo();
            if (Picture) view_.DisplayEnginePicture(*Picture);
        } else {
            host_.DiskRefreshSelectLast();
            host_.ShowWebcamInfo();
            view_.ShowPictureFile(FileName, true);
        }
        host_.SetDiskShowThumbnails(thumbnails);
    } else if (Picture) {
        view_.DisplayEnginePicture(*Picture);
        view_.ShowUnsavedCaption();
    }
    UpdateMotionGauge(Kind, Score);
    view_.RepaintPicture();
}

void ViewFilters::AfterPicture(int webcam) {
    host_.RedrawWebcamCell(webcam);
    host_.UpdateQuickBarButton(webcam);
}

void ViewFilters::NewPictureArrived(int Index, const std::string& FileName, const std::string*, std::uint8_t Kind,
                                    engine::twebcampicture* Picture, int Score) {
    const int i = Index + 1;
    // The new picture may make a hidden webcam pass a time filter.
    if (IsTimeFilter(host_.FilterItem()) && !HasCell(i)) ApplyViewFilter();
    if (host_.ViewerPageShown()) {
        if (i == host_.CurrentWebcam()) {
            ShowCurrentPicture(false, FileName, Picture, Kind, Score);
        } else if (host_.FollowNewPictures() &&
                   (Kind == engine::kPictureMotion || Kind == engine::kPictureNoTest) && HasCell(i)) {
            host_.ShowWebcam(i);
            UpdateMotionGauge(Kind, Score);
            host_.MarkCurrentWebcam(host_.CurrentWebcam());
            if (HasCell(host_.CurrentWebcam())) manager_.GetWebcam(host_.CurrentWebcam())->FNewPicture = true;
            view_.RepaintPicture();
        }
    }
    AfterPicture(i);
}

void ViewFilters::StreamPictureArrived(int Index, const std::string& FileName, const std::string*,
                                       std::uint8_t Kind, engine::twebcampicture* Picture, int Score) {
    const int i = Index + 1;
    if (host_.ViewerPageShown() && i == host_.CurrentWebcam()) ShowCurrentPicture(true, FileName, Picture, Kind, Score);
    AfterPicture(i);
}

}  // namespace ui
