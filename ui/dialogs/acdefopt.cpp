#include "ui/dialogs/acdefopt.h"

#include "engine/webcam_records.h"

#include "ui/dialogs/dialog_controls.h"
#include "ui/dialogs/dialog_instance.h"
#include "ui/dialogs/record_text.h"
#include "ui/dialogs/title_width.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>


namespace ui {

Tacdefopt::Tacdefopt(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("acdefopt"));
    setWindowTitle(QStringLiteral("Créer automatiquement les paramètres par defaut ainsi que les options"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Ces options sont utilisées lorsque vous créer une webcam par "), this));
    layout->addWidget(new QLabel(
        QStringLiteral("en glissant une adresse sur la DorOza, ou en l'ajoutant depuis une liste de webcam"), this));

    auto* refreshRow = new QHBoxLayout;
    refreshRow->addWidget(new QLabel(QStringLiteral("Rafraichir toutes les"), this));
    Edit6 = Named<QLineEdit>(this, "Edit6");
    refreshRow->addWidget(Edit6);
    refreshRow->addWidget(new QLabel(QStringLiteral("secondes"), this));
    refreshRow->addStretch();
    layout->addLayout(refreshRow);

    CheckBox1 = Named<QCheckBox>(this, "CheckBox1", QStringLiteral("Démarrer Auto"));
    CheckBox4 = Named<QCheckBox>(this, "CheckBox4", QStringLiteral("Si modifié 'depuis'"));
    layout->addWidget(CheckBox1);
    layout->addWidget(CheckBox4);

    auto* saving = Named<QGroupBox>(this, "GroupBox1", QStringLiteral("Enregistrement :"));
    auto* savingLayout = new QVBoxLayout(saving);
    saveMode_ = std::make_unique<SaveModeRadios>(
        saving, savingLayout, SaveModeNames{"RadioButton1", "RadioButton2", "RadioButton4", "RadioButton3", "SpinEdit1"});
    saveMode_->Show(engine::kSaveEvery);
    auto* motionButton = Named<QPushButton>(saving, "Button1", QStringLiteral("Paramètres..."));
    connect(motionButton, &QPushButton::clicked, this, &Tacdefopt::Button1Click);
    savingLayout->addWidget(motionButton, 0, Qt::AlignLeft);
    layout->addWidget(saving);

    auto* naming = Named<QGroupBox>(this, "GroupBox2", QStringLiteral("Nommination :"));
    auto* namingLayout = new QVBoxLayout(naming);
    namingLayout->addWidget(new QLabel(QStringLiteral("Quand la caméra est glissée au dessus de la DorOza"), naming));
    CheckBox2 = Named<QCheckBox>(naming, "CheckBox2",
                                 QStringLiteral("Utiliser une nommination à 1 mot pour les noms de webcam"));
    CheckBox2->setToolTip(QStringLiteral(
        "Si la description de la webcam est simple, l'utiliser pour la nommination de cette caméra"));
    CheckBox3 = Named<QCheckBox>(naming, "CheckBox3",
                                 QStringLiteral("Utiliser une nommination à 1 mot pour les préfixes des noms"));
    CheckBox3->setToolTip(QStringLiteral(
        "Si la description de la webcam est simple, l'utiliser pour la nommination des préfixes de cette caméra"));
    namingLayout->addWidget(CheckBox2);
    namingLayout->addWidget(CheckBox3);
    layout->addWidget(naming);
    AddOkCancel(this, layout);
    FitTitle(*this);
}

Tacdefopt::~Tacdefopt() = default;

bool Tacdefopt::Execute(std::int32_t& autoRefresh, std::uint8_t& autoStart, std::uint16_t& noIfModifiedSince,
                        std::uint8_t& oneWordPrefix, std::uint8_t& oneWordNames, std::uint8_t& autoSaveMode,
                        std::function<void()> editGlobalMotionSettings) {
    editGlobalMotionSettings_ = std::move(editGlobalMotionSettings);
    Edit6->setText(QString::number(autoRefresh));
    CheckBox1->setChecked(autoStart != 0);
    // The stored flag says "do not send If-Modified-Since"; the box asks the opposite.
    CheckBox4->setChecked(noIfModifiedSince == 0);
    saveMode_->Show(autoSaveMode);
    CheckBox2->setChecked(oneWordNames != 0);
    CheckBox3->setChecked(oneWordPrefix != 0);
    const bool accepted = exec() == QDialog::Accepted;
    editGlobalMotionSettings_ = nullptr;
    if (!accepted) return false;

    if (auto refresh = WholeNumberAs<std::int32_t>(Edit6->text())) autoRefresh = *refresh;
    autoStart = CheckBox1->isChecked() ? 1 : 0;
    noIfModifiedSince = CheckBox4->isChecked() ? 0 : 1;
    if (auto mode = saveMode_->Checked()) autoSaveMode = *mode;
    oneWordNames = CheckBox2->isChecked() ? 1 : 0;
    oneWordPrefix = CheckBox3->isChecked() ? 1 : 0;
    return true;
}

void Tacdefopt::Button1Click() {
    if (editGlobalMotionSettings_) editGlobalMotionSettings_();
}

Tacdefopt& acdefopt() { return DialogInstance<Tacdefopt>::Get(); }

}  // namespace ui
