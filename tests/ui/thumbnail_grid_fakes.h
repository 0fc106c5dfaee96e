#pragma once
// A webcam list with a display map, and a main window that records what the grid asks of it,
// for the thumbnail grid tests.

#include <QPoint>
#include <QStringList>

#include <vector>

#include "engine/bitmap.h"
#include "ui/grid/grid_host.h"
#include "ui/grid/grid_source.h"

namespace gridtest {

class FakeSource : public ui::ThumbnailGridSource {
public:
    // Webcams 1..count, named "Cam 1".., shown in cells 0..count - 1.
    explicit FakeSource(int count);

    int Count() const override { return static_cast<int>(webcams.size()); }
    int DisplayedCount() const override { return static_cast<int>(cells.size()); }
    int GetCellWebcam(int cell) const override;
    int DisplayCell(int webcam) const override;
    std::optional<ui::GridWebcam> Webcam(int webcam) const override;
    std::optional<bool> SelectedState(int webcam) const override;
    engine::Bitmap Thumbnail(int webcam) const override;
    void SetSelected(int webcam, bool selected) override { webcams[webcam - 1].selected = selected; }

    // The selected webcams in number order.
    std::vector<int> Selected() const;

    std::vector<ui::GridWebcam> webcams;  // webcam i at [i - 1]
    std::vector<int> cells;               // the webcam of each displayed cell
    std::vector<bool> freed;              // an empty slot: no webcam object
    mutable std::vector<int> thumbnailsAsked;
};

class FakeHost : public ui::ThumbnailGridHost {
public:
    int CurrentWebcam() const override { return current; }
    void ShowWebcam(int webcam) override;
    void LoadCurrentMotionSettings() override { calls << QStringLiteral("motion %1").arg(current); }
    void PreviousPicture() override { calls << QStringLiteral("previous picture"); }
    void NextPicture() override { calls << QStringLiteral("next picture"); }
    void FirstPicture() override { calls << QStringLiteral("first picture"); }
    void LastPicture() override { calls << QStringLiteral("last picture"); }
    void PopupGridMenu(const QPoint& screenPoint) override;
    bool StatusLEDs() const override { return statusLeds; }
    bool WebcamHints() const override { return hints; }

    int current = 0;
    bool statusLeds = true;
    bool hints = true;
    QPoint popupPoint;
    QStringList calls;
};

}  // namespace gridtest
