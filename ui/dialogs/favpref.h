#pragma once
// "Préférences pour les favoris": the refresh cap of favourite webcams and its switch.

#include "engine/settings_records.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;

namespace ui {

class Tfavpref : public QDialog {
    Q_OBJECT
public:
    explicit Tfavpref(QWidget* parent = nullptr);

    // Shows the values modally; on OK writes them back and returns true. A refresh that is not
    // a number of 0..65535 is left as it was.
    bool Execute(engine::TConfigRec& config);

private:
    QCheckBox* CheckBox1;
    QLineEdit* Edit1;
};

Tfavpref& favpref();

}  // namespace ui
