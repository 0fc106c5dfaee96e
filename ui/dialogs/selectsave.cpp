#include "ui/dialogs/selectsave.h"

#include "engine/webcam_records.h"
#include "ui/dialogs/dialog_controls.h"
#include "ui/dialogs/dialog_instance.h"
#include "ui/dialogs/save_mode_radios.h"

#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace ui {

Tselectsave::Tselectsave(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("selectsave"));
    setWindowTitle(QStringLiteral("Enregistrer les changements effectués"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(QStringLiteral("Noouvelle enregistrement des paramètres pour les webcams sélectionnées"), this));
    RadioButton1 = Named<QRadioButton>(this, "RadioButton1", QStringLiteral("Enregistrement : en marche"));
    RadioButton2 = Named<QRadioButton>(this, "RadioButton2", QStringLiteral("Enregistrement : arrêté"));
    RadioButton3 = Named<QRadioButton>(this, "RadioButton3", QStringLiteral("Enregistrer si mouvement de l'image"));
    layout->addWidget(RadioButton1);
    layout->addWidget(RadioButton2);
    layout->addWidget(RadioButton3);
    AddOkCancel(this, layout);
}

bool Tselectsave::Execute(int& mode) {
    UncheckRadios({RadioButton1, RadioButton2, RadioButton3});
    if (mode == engine::kSaveEvery) RadioButton1->setChecked(true);
    if (mode == engine::kSaveNone) RadioButton2->setChecked(true);
    if (mode == engine::kSaveOnMotion) RadioButton3->setChecked(true);
    if (exec() != QDialog::Accepted) return false;

    if (RadioButton1->isChecked()) mode = engine::kSaveEvery;
    if (RadioButton2->isChecked()) mode = engine::kSaveNone;
    if (RadioButton3->isChecked()) mode = engine::kSaveOnMotion;
    return true;
}

Tselectsave& selectsave() { return DialogInstance<Tselectsave>::Get(); }

}  // namespace ui
