#pragma once
// The thumbnail grid's view of the webcam manager: webcams, display map, thumbnails and the
// selection flag. Main thread only.

#include "ui/grid/grid_source.h"

namespace engine {
class twebcam;
class twebcammanager;
}

namespace ui {

class ManagerGridSource : public ThumbnailGridSource {
public:
    explicit ManagerGridSource(engine::twebcammanager& manager) : manager_(manager) {}

    int Count() const override;
    int DisplayedCount() const override;
    int GetCellWebcam(int cell) const override;
    int DisplayCell(int webcam) const override;
    std::optional<bool> SelectedState(int webcam) const override;
    std::optional<GridWebcam> Webcam(int webcam) const override;
    engine::Bitmap Thumbnail(int webcam) const override;
    void SetSelected(int webcam, bool selected) override;

private:
    engine::twebcam* At(int webcam) const;  // null outside the list or for an empty slot
    engine::twebcammanager& manager_;
};

}  // namespace ui
