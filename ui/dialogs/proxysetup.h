#pragma once
// "Paramètres du proxy": the proxy switch, host and port of CONFIG and the proxy login of
// EXTRA1.

#include "engine/settings_records.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;

namespace ui {

class Tproxysetup : public QDialog {
    Q_OBJECT
public:
    explicit Tproxysetup(QWidget* parent = nullptr);

    // Shows the values modally; on OK writes them back and returns true. A port that is not a
    // whole number is reported and left as it was; the other fields are still written.
    bool Execute(engine::TConfigRec& config, engine::TExtra1Rec& extra1);

private:
    QCheckBox* CheckBox1;
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QLineEdit* Edit3;
    QLineEdit* Edit4;
};

Tproxysetup& proxysetup();

}  // namespace ui
