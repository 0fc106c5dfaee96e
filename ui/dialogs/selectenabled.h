#pragma once
// "Enregistrement des préférences pour les webcams": which webcams an exported list holds and
// whether they are added to an existing list.

#include <QDialog>

class QRadioButton;

namespace ui {

class Tselectenabled : public QDialog {
    Q_OBJECT
public:
    explicit Tselectenabled(QWidget* parent = nullptr);

    // Shows the choices as last left; on OK writes which webcams (1 all, 2 running, 3 not
    // running, 4 the current one, 5 the selected ones) and append (0 a new list, 1 added to an
    // existing one) and returns true.
    bool Execute(int& which, int& append);

private:
    QRadioButton* whichRadios_[5];
    QRadioButton* appendRadios_[2];
};

Tselectenabled& selectenabled();

}  // namespace ui
