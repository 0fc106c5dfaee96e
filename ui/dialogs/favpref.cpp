#include "ui/dialogs/favpref.h"

#include "ui/dialogs/dialog_controls.h"
#include "ui/dialogs/dialog_instance.h"
#include "ui/dialogs/record_text.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

namespace ui {

Tfavpref::Tfavpref(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("favpref"));
    setWindowTitle(QStringLiteral("Préférences pour les favoris"));
    auto* layout = new QVBoxLayout(this);
    CheckBox1 = Named<QCheckBox>(this, "CheckBox1", QStringLiteral("Actualisation différente pour les favoris"));
    layout->addWidget(CheckBox1);
    auto* form = new QFormLayout;
    Edit1 = Named<QLineEdit>(this, "Edit1");
    form->addRow(QStringLiteral("Actualisation en secondes"), Edit1);
    layout->addLayout(form);
    AddOkCancel(this, layout);
}

bool Tfavpref::Execute(engine::TConfigRec& config) {
    CheckBox1->setChecked(config.FavRefreshOn == 1);
    Edit1->setText(QString::number(config.FavRefresh));
    if (exec() != QDialog::Accepted) return false;

    config.FavRefreshOn = CheckBox1->isChecked() ? 1 : 0;
    if (auto seconds = WholeNumberAs<std::uint16_t>(Edit1->text())) config.FavRefresh = *seconds;
    return true;
}

Tfavpref& favpref() { return DialogInstance<Tfavpref>::Get(); }

}  // namespace ui
