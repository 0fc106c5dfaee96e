#include "ui/motion_settings_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

namespace ui {
namespace {

QLabel* MakeLabel(QWidget* parent, const char* name, const char* text, const char* hint = nullptr) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setObjectName(QString::fromLatin1(name));
    if (hint)
        label->setToolTip(QString::fromUtf8(hint));
    return label;
}

QSlider* MakeBar(QWidget* parent, const char* name, const char* hint) {
    auto* bar = new QSlider(Qt::Horizontal, parent);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setRange(engine::kMotionSettingMin, engine::kMotionSettingMax);
    bar->setToolTip(QString::fromUtf8(hint));
    return bar;
}

template <typename Button>
Button* MakeButton(QWidget* parent, const char* name, const char* text) {
    auto* button = new Button(QString::fromUtf8(text), parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

}  // namespace

Tmotionsettings::Tmotionsettings(MotionWebcamRecords& webcams, QWidget* parent)
    : QDialog(parent), FWebcams(webcams), FSettings(engine::DefaultMotionSettings()) {
    setObjectName(QStringLiteral("motionsettings"));
    setWindowTitle(QString::fromUtf8("Pamètres de la détection de mouvement"));

    TrackBar1 = MakeBar(this, "TrackBar1", "Controlesla taille de cellules - de plus petites cellules utilisent plus CPU");
    TrackBar2 = MakeBar(this, "TrackBar2",
                        "This slider controls the position of the red/green bands on the graph display. When the bar "
                        "goes green, motion is detected.");
    TrackBar3 = MakeBar(this, "TrackBar3", "This slider controls how sensitive to change the bar graph is.");

    auto* grid = new QGridLayout;
    const auto addBar = [&](int row, QLabel* title, QLabel* low, QSlider* bar, QLabel* high) {
        grid->addWidget(title, row, 0, 1, 3);
        grid->addWidget(low, row + 1, 0);
        grid->addWidget(bar, row + 1, 1);
        grid->addWidget(high, row + 1, 2);
    };
    addBar(0,
           MakeLabel(this, "Label1", "Taille De Cellules",
                     "L'image est divisée en cellules, puis chaques cellules sont comparées. Ce curseur controle la "
                     "largeur des cellules, de 4x4 pixels jusqu'à l'image entière"),
           MakeLabel(this, "Label4", "Petit"), TrackBar1, MakeLabel(this, "Label7", "Largeur"));
    addBar(2,
           MakeLabel(this, "Label2", "Le pourcentage des cellules a changé",
                     "Le Slider controle le nombre de cellules qui ont été changées, avant de décider que l'image est "
                     "différente de la précédente"),
           MakeLabel(this, "Label5", "Moins"), TrackBar2, MakeLabel(this, "Label8", "Plus"));
    addBar(4,
           MakeLabel(this, "Label3", "Sensibilité", "This slider controls how sensitive to change the comparison is."),
           MakeLabel(this, "Label6", "Moins"), TrackBar3, MakeLabel(this, "Label9", "Plus"));

    RadioButton1 = MakeButton<QRadioButton>(this, "RadioButton1", "Webcam actuelle");
    RadioButton2 = MakeButton<QRadioButton>(this, "RadioButton2", "Par défaut");
    Button1 = MakeButton<QPushButton>(this, "Button1", "Restaurer");
    OKBtn = MakeButton<QPushButton>(this, "OKBtn", "Ok");
    CancelBtn = MakeButton<QPushButton>(this, "CancelBtn", "Annuler");
    OKBtn->setDefault(true);

    auto* choice = new QHBoxLayout;
    choice->addWidget(RadioButton1);
    choice->addWidget(RadioButton2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button1);
    buttons->addStretch();
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MakeLabel(this, "Label10", "Changer les options de détection de mouvement :"));
    layout->addLayout(grid);
    layout->addLayout(choice);
    layout->addLayout(buttons);

    connect(RadioButton1, &QRadioButton::clicked, this, &Tmotionsettings::RadioButton1Click);
    connect(RadioButton2, &QRadioButton::clicked, this, &Tmotionsettings::RadioButton1Click);
    connect(Button1, &QPushButton::clicked, this, &Tmotionsettings::Button1Click);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

std::optional<engine::TWebcamDef1Rec> Tmotionsettings::WebcamRecord2() const {
    return FWebcamNo >= 1 ? FWebcams.GetRecord2(FWebcamNo) : std::nullopt;
}

void Tmotionsettings::LoadSettings(int WebcamNo, bool GlobalOnly, engine::TMotionSettingsRec& Rec) const {
    const auto rec2 = WebcamNo >= 1 && !GlobalOnly ? FWebcams.GetRecord2(WebcamNo) : std::nullopt;
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
    if (auto rec2 = WebcamRecord2()) {
        rec2->MotionCellSize = FSettings.CellSize;
        rec2->MotionThreshold = FSettings.Threshold;
        rec2->MotionSensitivity = FSettings.Sensitivity;
        FWebcams.SetRecord2(FWebcamNo, *rec2);
    }
}

void Tmotionsettings::RadioButton1Click() {
    FGlobal = RadioButton2->isChecked();
    LoadSettings(FWebcamNo, FGlobal, FSettings);
    ShowSettings(FSettings);
}

void Tmotionsettings::Button1Click() {
    if (RadioButton1->isChecked()) {
        if (auto rec2 = WebcamRecord2()) {
            rec2->MotionCellSize = rec2->MotionThreshold = rec2->MotionSensitivity = 0;
            FWebcams.SetRecord2(FWebcamNo, *rec2);
        }
    }
    ShowSettings(engine::DefaultMotionSettings());
}

}  // namespace ui
