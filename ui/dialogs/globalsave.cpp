#include "ui/dialogs/globalsave.h"

#include "ui/dialogs/dialog_controls.h"
#include "ui/dialogs/dialog_instance.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace ui {

TGlobalsave::TGlobalsave(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Globalsave"));
    setWindowTitle(QStringLiteral("Enregistrement glogal des paramètres"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Ces paramètres écraseront les anciens paramètres."), this));
    RadioButton1 = Named<QRadioButton>(this, "RadioButton1",
                                       QStringLiteral("Utiliser l'enregistrement normal définis pour chaque webcam"));
    layout->addWidget(RadioButton1);
    saveMode_ = std::make_unique<SaveModeRadios>(
        this, layout, SaveModeNames{"RadioButton2", "RadioButton3", "RadioButton4", "RadioButton5", "SpinEdit1"});
    auto* motionButton = Named<QPushButton>(this, "Button1", QStringLiteral("Paramètres"));
    connect(motionButton, &QPushButton::clicked, this, &TGlobalsave::Button1Click);
    layout->addWidget(motionButton, 0, Qt::AlignLeft);
    AddOkCancel(this, layout);
}

TGlobalsave::~TGlobalsave() = default;

bool TGlobalsave::Execute(std::uint8_t& mode, std::uint8_t& on, QPoint position,
                          std::function<void()> editGlobalMotionSettings) {
    editGlobalMotionSettings_ = std::move(editGlobalMotionSettings);
    saveMode_->Show(mode);
    if (on == 0) RadioButton1->setChecked(true);
    move(position);
    const bool accepted = exec() == QDialog::Accepted;
    editGlobalMotionSettings_ = nullptr;
    if (!accepted) return false;

    on = RadioButton1->isChecked() ? 0 : 1;
    if (!RadioButton1->isChecked()) {
        if (auto chosen = saveMode_->Checked()) mode = *chosen;
    }
    return true;
}

void TGlobalsave::Button1Click() {
    if (editGlobalMotionSettings_) editGlobalMotionSettings_();
}

TGlobalsave& globalsave() { return DialogInstance<TGlobalsave>::Get(); }

}  // namespace ui
