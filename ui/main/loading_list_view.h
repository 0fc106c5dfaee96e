#pragma once
// What the webcam manager shows of its list operations in the main window: every load of the
// definitions (at start, and the reload after a delete or a change of data folder) runs behind
// the loading window ("Chargement de vos webcams ...") with the hourglass, then the whole grid
// is repainted; a thumbnail blanked by the manager has its cell redrawn at once.
//
// Main thread only.

#include "engine/webcam_list_view.h"

namespace ui {

class ThumbnailGrid;

class LoadingListView : public engine::twebcamlistview {
public:
    explicit LoadingListView(ThumbnailGrid& grid) : grid_(grid) {}

    void LoadStarted() override;
    void LoadProgress(int position, int count) override;
    void LoadFinished() override;
    void RedrawWebcamCell(int i) override;

private:
    ThumbnailGrid& grid_;
};

}  // namespace ui
