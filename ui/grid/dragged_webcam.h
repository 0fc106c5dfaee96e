#pragma once
// What is dragged out of the thumbnail grid or the viewer: one webcam, or the selected ones.
// Receivers in this program (the quick bar) recognise it with qobject_cast.

#include <QMimeData>

namespace ui {

class tdraggedwebcam : public QMimeData {
    Q_OBJECT
public:
    // WebcamIndex: the 1-based webcam, or 0 for every selected webcam.
    explicit tdraggedwebcam(int webcamIndex) : FWebcamIndex(webcamIndex) {}

    const int FWebcamIndex;
};

}  // namespace ui
