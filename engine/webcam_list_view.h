#pragma once
// What the manager's list operations show in the main window: the progress of a load, the
// repaint of the thumbnail grid after it, and the redraw of one cell. The main window implements
// it; until it sets one, nothing is shown.

namespace engine {

class twebcamlistview {
public:
    virtual ~twebcamlistview() = default;
    // The loading-progress window at 0 of 100 and the hourglass cursor.
    virtual void LoadStarted() = 0;
    virtual void LoadProgress(int position, int count) = 0;
    // Progress window hidden, default cursor, the whole grid repainted.
    virtual void LoadFinished() = 0;
    // Redraws the grid cell of webcam i (1-based) and updates the grid.
    virtual void RedrawWebcamCell(int i) = 0;
};

class tnolistview : public twebcamlistview {
public:
    void LoadStarted() override {}
    void LoadProgress(int, int) override {}
    void LoadFinished() override {}
    void RedrawWebcamCell(int) override {}
};

}  // namespace engine
