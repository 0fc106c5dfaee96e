#pragma once
// The enlarged view of the main window (TabSheet11): Image1 inside the scroll box ScrollBox1,
// framed by the bevels Bevel8 and Bevel9, at one of nine zoom modes, with the zoom buttons and
// the caption and size labels. It holds the shown picture (ViewerJpeg), the file shown last for
// the motion comparison and the picture-enhancement settings. Main thread only.

#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "engine/bitmap.h"
#include "engine/webcam_events.h"
#include "ui/filters/view_filter_host.h"
#include "ui/viewer/viewer_host.h"
#include "ui/viewer/zoom.h"

class QFrame;
class QLabel;
class QMimeData;
class QScrollArea;
class QToolButton;

namespace ui {

class ViewerImage;

// Display modes of DisplayPicture: 1 redisplay, 2 a file, 5 a picture of the engine.
inline constexpr int kDisplayRedisplay = 1;
inline constexpr int kDisplayFile = 2;
inline constexpr int kDisplayEngine = 5;

// EnhanceSettings: level percentage, mix, on/off.
struct EnhanceSettings {
    int level = 3;
    int mix = 3;
    bool on = false;
    bool operator==(const EnhanceSettings&) const = default;
};

class TViewer : public QWidget, public PictureView {
    Q_OBJECT
public:
    TViewer(ViewerHost& host, ViewerServices services, QWidget* parent = nullptr);
    ~TViewer() override;

    // Ignored unless mode is -2, -1 or 1..7.
    void SetZoom(int mode);
    int ZoomMode() const { return zoomMode_; }
    void SpeedButton33Click() { SetZoom(ZoomIn(zoomMode_)); }  // Zoom +
    void SpeedButton34Click() { SetZoom(ZoomOut(zoomMode_)); }  // Zoom -
    void SpeedButton35Click() { SetZoom(kZoomOriginal); }
    void SpeedButton36Click() { SetZoom(kZoomStretch); }
    void SpeedButton1Click() { SetZoom(kZoomFit); }

    // Lays out and draws a picture; a null or empty picture clears the view. The layout is kept
    // when the drawn size and the zoom are what they were and force is not set.
    void DisplayPicture(engine::twebcampicture* picture, int mode, bool force = false);
    void RedisplayPicture(bool force = true);
    void ClearViewer();
    // Nothing of a picture stays: the view, its caption, sizes and motion score are cleared, and
    // no picture or file is left for the commands to save or copy.
    void ShowNoPicture();
    // After pictures were deleted or moved: when the file shown is gone, ShowNoPicture, so
    // that the view never describes nor hands out a file that is no longer there.
    void ForgetRemovedFile();
    void ShowPictureFile(const std::string& fileName, bool withCaption) override;
    void SetPictureCaption(const QString& text, long long size);
    // Takes the webcam's newest picture (file or unsaved); without one, ShowNoPicture.
    void ShowLatestPicture(std::unique_ptr<engine::twebcampicture> picture, const std::string& fileName);

    // PictureView.
    void SetShowsLivePicture(bool live) override { showsLivePicture_ = live; }
    void DisplayEnginePicture(engine::twebcampicture& picture) override { DisplayPicture(&picture, kDisplayEngine); }
    void ShowUnsavedCaption() override;
    void RepaintPicture() override;

    EnhanceSettings Enhance;
    // What a drag out of the picture carries (Image1StartDrag); no drag without it or when it
    // gives nothing.
    std::function<QMimeData*()> OnStartDrag;

    bool ShowsLivePicture() const { return showsLivePicture_; }
    const QString& ShownFileName() const { return shownFileName_; }
    long long ShownFileSize() const { return shownFileSize_; }
    const std::string& PreviousFileName() const { return previousFileName_; }
    int LastDisplayMode() const { return lastDisplayMode_; }
    // How many times the view was laid out anew (the scroll position went back to 0).
    int RelayoutCount() const { return relayouts_; }
    engine::twebcampicture* ViewerJpeg() const { return viewerJpeg_.get(); }
    // The picture as Image1 shows it (null when the view is empty).
    QImage ShownPicture() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Relayout(PictureSize size);
    void PlaceBevels();
    QImage Drawn(engine::twebcampicture& picture) const;

    ViewerHost& host_;
    ViewerServices services_;
    int zoomMode_ = kZoomFit;
    int layoutZoom_ = 0;
    int lastDisplayMode_ = 0;
    bool showsLivePicture_ = false;
    QString shownFileName_;
    long long shownFileSize_ = 0;
    std::string previousFileName_;
    std::unique_ptr<engine::twebcampicture> viewerJpeg_;
    int relayouts_ = 0;

    QScrollArea* ScrollBox1;
    QWidget* content_;
    ViewerImage* Image1;
    QFrame* Bevel8;
    QFrame* Bevel9;
    QLabel* Label32;  // zoom
    QLabel* Label43;  // picture size
    QLabel* Label9;   // caption
    QLabel* Label19;  // file size
    QToolButton* SpeedButton33;
    QToolButton* SpeedButton34;
    QToolButton* SpeedButton35;
    QToolButton* SpeedButton36;
    QToolButton* SpeedButton1;
};

}  // namespace ui
