#pragma once
// What is dragged out of the thumbnail grid or the viewer: one webcam, or the selected ones.
// The quick bar, in a library below the main window's, reads the index from its data format.

#include <QMimeData>

namespace ui {

class tdraggedwebcam : public QMimeData {
    Q_OBJECT
public:
    // WebcamIndex: the 1-based webcam, or 0 for every selected webcam.
    explicit tdraggedwebcam(int webcamIndex) : FWebcamIndex(webcamIndex) {
        setData(QStringLiteral("application/x-orvello-webcams"), QByteArray::number(webcamIndex));
    }

    const int FWebcamIndex;
};

}  // namespace ui
