#pragma once
// The window shown while every webcam is being stopped (at shutdown and by the stop command).

#include <QDialog>

namespace ui {

class Twaitform : public QDialog {
    Q_OBJECT
public:
    explicit Twaitform(QWidget* parent = nullptr);
};

Twaitform& waitform();

}  // namespace ui
