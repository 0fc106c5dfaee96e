#include "ui/dialogs/changerefresh.h"

#include "ui/dialogs/dialog_controls.h"
#include "ui/dialogs/dialog_instance.h"
#include "ui/dialogs/title_width.h"

#include <QCheckBox>
#include <QSpinBox>
#include <QVBoxLayout>

#include <limits>

namespace ui {

Tchangerefresh::Tchangerefresh(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("changerefresh"));
    setWindowTitle(QStringLiteral("Changer la fréquence de rafraichissement"));
    auto* layout = new QVBoxLayout(this);
    // A negative refresh time means nothing to the scheduler: the box stops at 0.
    SpinEdit1 = AddSpinEdit(this, layout, "SpinEdit1", QStringLiteral("Actualiser toutes les "), 0,
                            std::numeric_limits<int>::max(), QStringLiteral(" Secondes"));
    SpinEdit1->setValue(30);
    CheckBox1 = Named<QCheckBox>(this, "CheckBox1", QStringLiteral("Si modifié 'depuis'"));
    layout->addWidget(CheckBox1);
    AddOkCancel(this, layout);
    FitTitle(*this);
}

bool Tchangerefresh::Execute(std::int32_t& seconds, std::uint8_t& flag) {
    SpinEdit1->setValue(seconds);
    CheckBox1->setChecked(flag == 1);
    if (exec() != QDialog::Accepted) return false;

    seconds = SpinEdit1->value();
    flag = CheckBox1->isChecked() ? 1 : 0;
    return true;
}

Tchangerefresh& changerefresh() { return DialogInstance<Tchangerefresh>::Get(); }

}  // namespace ui
