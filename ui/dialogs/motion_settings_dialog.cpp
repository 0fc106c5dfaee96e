#include "ui/dialogs/motion_settings_dialog.h"

#include "ui/dialogs/dialog_controls.h"
#include "ui/dialogs/dialog_instance.h"
#include "ui/dialogs/title_width.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

namespace ui {
namespace {

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, const QString& hint = {}) {
    auto* label = Named<QLabel>(parent, name, text);
    label->setToolTip(hint);
    return label;
}

QSlider* MakeBar(QWidget* parent, const char* name, const QString& hint) {
    auto* bar = Named<QSlider>(parent, name, Qt::Horizontal);
    bar->setRange(engine::kMotionSettingMin, engine::kMotionSettingMax);
    bar->setToolTip(hint);
    return bar;
}

}  // namespace

Tmotionsettings::Tmotionsettings(QWidget* parent)
    : QDialog(parent), FSettings(engine::DefaultMotionSettings()) {
    setObjectName(QStringLiteral("motionsettings"));
    setWindowTitle(QStringLiteral("Pamètres de la détection de mouvement"));

    TrackBar1 = MakeBar(this, "TrackBar1",
                        QStringLiteral("Controlesla taille de cellules - de plus petites cellules utilisent plus CPU"));
    TrackBar2 = MakeBar(this, "TrackBar2",
                        QStringLiteral("This slider controls the position of the red/green bands on the graph "
                                       "display. When the bar goes green, motion is detected."));
    TrackBar3 = MakeBar(this, "TrackBar3", QStringLiteral("This slider controls how sensitive to change the bar graph is."));

    // Each bar: its title above, its two scale ends beside it.
    auto* grid = new QGridLayout;
    const auto addBar = [&](int row, QLabel* title, QLabel* low, QSlider* bar, QLabel* high) {
        grid->addWidget(title, row, 0, 1, 3);
        grid->addWidget(low, row + 1, 0);
        grid->addWidget(bar, row + 1, 1);
        grid->addWidget(high, row + 1, 2);
    };
    addBar(0,
           MakeLabel(this, "Label1", QStringLiteral("Taille De Cellules"),
                     QStringLiteral("L'image est divisée en cellules, puis chaques cellules sont comparées. Ce curseur "
                                    "controle la largeur des cellules, de 4x4 pixels jusqu'à l'image entière")),
           MakeLabel(this, "Label4", QStringLiteral("Petit")), TrackBar1,
           MakeLabel(this, "Label7", QStringLiteral("Largeur")));
    addBar(2,
           MakeLabel(this, "Label2", QStringLiteral("Le pourcentage des cellules a changé"),
                     QStringLiteral("Le Slider controle le nombre de cellules qui ont été changées, avant de décider "
                                    "que l'image est différente de la précédente")),
           MakeLabel(this, "Label5", QStringLiteral("Moins")), TrackBar2, MakeLabel(this, "Label8", QStringLiteral("Plus")));
    addBar(4,
           MakeLabel(this, "Label3", QStringLiteral("Sensibilité"),
                     QStringLiteral("This slider controls how sensitive to change the comparison is.")),
           MakeLabel(this, "Label6", QStringLiteral("Moins")), TrackBar3, MakeLabel(this, "Label9", QStringLiteral("Plus")));

    RadioButton1 = Named<QRadioButton>(this, "RadioButton1", QStringLiteral("Webcam actuelle"));
    RadioButton2 = Named<QRadioButton>(this, "RadioButton2", QStringLiteral("Par défaut"));
    Button1 = Named<QPushButton>(this, "Button1", QStringLiteral("Restaurer"));

    auto* choice = new QHBoxLayout;
    choice->addWidget(RadioButton1);
    choice->addWidget(RadioButton2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MakeLabel(this, "Label10", QStringLiteral("Changer les options de détection de mouvement :")));
    layout->addLayout(grid);
    layout->addLayout(choice);
    AddOkCancel(this, buttons);
    layout->addLayout(buttons);

    connect(RadioButton1, &QRadioButton::clicked, this, &Tmotionsettings::RadioButton1Click);
    connect(RadioButton2, &QRadioButton::clicked, this, &Tmotionsettings::RadioButton1Click);
    connect(Button1, &QPushButton::clicked, this, &Tmotionsettings::Button1Click);
    FitTitle(*this);
}

std::optional<engine::TWebcamDef1Rec> Tmotionsettings::Record2(int webcamNo) const {
    return webcamNo >= 1 && FWebcams ? FWebcams->GetRecord2(webcamNo) : std::nullopt;
}

void Tmotionsettings::LoadSettings(int WebcamNo, bool GlobalOnly, engine::TMotionSettingsRec& Rec) const {
    const auto rec2 = GlobalOnly ? std::nullopt : Record2(WebcamNo);
    Rec = engine::LoadMotionSettings(rec2 ? &*rec2 : nullptr);
}

void Tmotionsettings::ShowSettings(const engine::TMotionSettingsRec& settings) {
    TrackBar1->setValue(settings.CellSize);
    TrackBar2->setValue(settings.Threshold);
    TrackBar3->setValue(settings.Sensitivity);
}

void Tmotionsettings::EditSettings(int WebcamNo, bool GlobalOnly, engine::TMotionSettingsRec& Rec) {
    FGlobal = GlobalOnly;
    FWebcamNo = WebcamNo;
    RadioButton1->setEnabled(WebcamNo >= 1);
    if (WebcamNo < 1)
        FGlobal = true;
    (FGlobal ? RadioButton2 : RadioButton1)->setChecked(true);
    LoadSettings(FWebcamNo, FGlobal, FSettings);
    ShowSettings(FSettings);
    if (exec() == QDialog::Accepted)
        Store();
    Rec = FSettings;
}

void Tmotionsettings::Store() {
    FSettings.CellSize = TrackBar1->value();
    FSettings.Threshold = TrackBar2->value();
    FSettings.Sensitivity = TrackBar3->value();
    if (RadioButton2->isChecked()) {
        engine::WriteGlobalMotionSettings(FSettings);
        return;
    }
    if (auto rec2 = Record2(FWebcamNo)) {
        rec2->MotionCellSize = FSettings.CellSize;
        rec2->MotionThreshold = FSettings.Threshold;
        rec2->MotionSensitivity = FSettings.Sensitivity;
        FWebcams->SetRecord2(FWebcamNo, *rec2);
    }
}

void Tmotionsettings::RadioButton1Click() {
    FGlobal = RadioButton2->isChecked();
    LoadSettings(FWebcamNo, FGlobal, FSettings);
    ShowSettings(FSettings);
}

void Tmotionsettings::Button1Click() {
    if (RadioButton1->isChecked()) {
        if (auto rec2 = Record2(FWebcamNo)) {
            rec2->MotionCellSize = rec2->MotionThreshold = rec2->MotionSensitivity = 0;
            FWebcams->SetRecord2(FWebcamNo, *rec2);
        }
    }
    ShowSettings(engine::DefaultMotionSettings());
}

Tmotionsettings& motionsettings() { return DialogInstance<Tmotionsettings>::Get(); }

}  // namespace ui
