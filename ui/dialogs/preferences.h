#pragma once
// "Préférences": fetch-thread count, weather and map look-up addresses, slow-scan times and the
// tray-icon switch.

#include "engine/settings_records.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QSpinBox;

namespace ui {

class TPreferences : public QDialog {
    Q_OBJECT
public:
    explicit TPreferences(QWidget* parent = nullptr);

    // Shows the values modally; on OK tells the user that a restart applies them, writes them
    // back and returns true.
    bool Execute(engine::TConfigRec& config, engine::TExtra1Rec& extra1, engine::TDiskManRec& diskMan);

private:
    QSpinBox* SpinEdit1;
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QLineEdit* Edit3;
    QLineEdit* Edit4;
    QSpinBox* SpinEdit2;
    QSpinBox* SpinEdit3;
    QCheckBox* CheckBox1;
};

TPreferences& preferences();

}  // namespace ui
