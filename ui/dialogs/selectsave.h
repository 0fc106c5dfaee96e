#pragma once
// "Enregistrer les changements effectués": one saving mode (on, off, on motion) for the
// selected webcams.

#include <QDialog>

class QRadioButton;

namespace ui {

class Tselectsave : public QDialog {
    Q_OBJECT
public:
    explicit Tselectsave(QWidget* parent = nullptr);

    // Shows mode's radio checked (none for a skip count); on OK writes the checked radio's mode
    // and returns true. With no radio checked the mode is kept.
    bool Execute(int& mode);

private:
    QRadioButton* RadioButton1;
    QRadioButton* RadioButton2;
    QRadioButton* RadioButton3;
};

Tselectsave& selectsave();

}  // namespace ui
