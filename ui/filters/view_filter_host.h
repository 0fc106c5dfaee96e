#pragma once
// What the view filters and the handlers of the manager's events ask of the main window and of
// its enlarged view. The main window implements ViewFilterHost; the viewer (TViewer) implements
// PictureView. Webcams are numbered from 1.

#include <QString>

#include <string>

namespace engine {
class twebcampicture;
}
namespace media {
class TMMLEDGauge;
}

namespace ui {

class PictureView {
public:
    virtual ~PictureView() = default;
    virtual void SetShowsLivePicture(bool live) = 0;  // ViewerShowsLivePicture
    virtual void ShowPictureFile(const std::string& fileName, bool withCaption) = 0;
    // A picture of the engine (display mode 5).
    virtual void DisplayEnginePicture(engine::twebcampicture& picture) = 0;
    // The caption of a picture that was not saved.
    virtual void ShowUnsavedCaption() = 0;
    virtual void RepaintPicture() = 0;  // Image1
};

class ViewFilterHost {
public:
    virtual ~ViewFilterHost() = default;
    virtual int FilterItem() const = 0;  // ComboBox1's item index
    virtual int CurrentWebcam() const = 0;
    virtual void ShowWebcam(int webcam) = 0;
    virtual void MarkCurrentWebcam(int webcam) = 0;
    virtual void RedrawWebcamCell(int webcam) = 0;
    // The display map changed: UpdateGridRows and repaint the grid.
    virtual void GridChanged() = 0;
    // Focus to the grid and ShiftState := 0.
    virtual void FocusGrid() = 0;
    virtual bool ViewerPageShown() const = 0;  // PageControl2 shows TabSheet11
    virtual bool FollowNewPictures() const = 0;
    virtual void SetStatusLabel(const QString& text) = 0;  // Label1, painted with the next frame
    virtual void UpdateStatusGauges() = 0;
    virtual media::TMMLEDGauge& MotionGauge() = 0;  // MMLEDGauge5
    virtual int MotionThreshold() const = 0;         // MotionSettings threshold
    // The disk browser: its thumbnail switch, a refresh with its last entry (the new file)
    // selected, and its counter of files not listed yet.
    virtual bool DiskShowThumbnails() const = 0;
    virtual void SetDiskShowThumbnails(bool on) = 0;
    virtual void DiskRefreshSelectLast() = 0;
    virtual void DiskAddPending() = 0;
    virtual void ShowWebcamInfo() = 0;
    // The quick bar's button of a webcam, when the quick bar is shown.
    virtual void UpdateQuickBarButton(int webcam) = 0;
};

}  // namespace ui
