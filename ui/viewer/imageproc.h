#pragma once
// Timageproc, "Embellir l'image": the tool window of the picture enhancement. Two track bars
// (1..40), the cut-off (level) and the depth (mix); moving one hands the new values to OnChange,
// which stores them in the viewer's enhancement settings and redraws the picture. "Quitter"
// hides the window. Main thread only.

#include <QDialog>

#include <functional>

class QSlider;

namespace ui {

class Timageproc : public QDialog {
    Q_OBJECT
public:
    explicit Timageproc(QWidget* parent = nullptr);

    // Sets both positions without reporting them, then shows the window.
    void SetValues(int CutOff, int Depth);
    // Sets both positions without reporting them and leaves the window as it is: a webcam that
    // becomes current brings its own values, which must not open the window.
    void SetPositions(int CutOff, int Depth);

    // (level, mix) after a track bar moved.
    std::function<void(int, int)> OnChange;

private:
    void TrackBarChange();

    QSlider* TrackBar1;
    QSlider* TrackBar2;
    bool settingValues_ = false;
};

// The program's one instance.
Timageproc& imageproc();

}  // namespace ui
