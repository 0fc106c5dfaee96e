#include "saver/tsaverconfig.h"

#include "engine/regconfig.h"
#include "platform/program_dir.h"
#include "saver/saver_aboutbox.h"
#include "ui/saverlist/slistedit.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace saver {
namespace {

constexpr int kGroupHeight = 58;

QGroupBox* Group(QWidget* parent, QVBoxLayout* column, const char* name, const QString& caption) {
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setFixedHeight(kGroupHeight);
    new QHBoxLayout(box);
    column->addWidget(box);
    return box;
}

std::pair<QRadioButton*, int> Radio(QGroupBox* box, const char* name, const QString& caption, int value) {
    auto* radio = new QRadioButton(caption, box);
    radio->setObjectName(QString::fromLatin1(name));
    box->layout()->addWidget(radio);
    return {radio, value};
}

}  // namespace

void Tsaverconfig::Choice::Show(int value) {
    for (const auto& [radio, stands] : {first, second, third})
        if (radio && stands == value) return radio->setChecked(true);
    for (const auto& [radio, stands] : {first, second, third})
        if (radio && stands == 0) return radio->setChecked(true);
}

int Tsaverconfig::Choice::Selected() const {
    for (const auto& [radio, stands] : {first, second, third})
        if (radio && radio->isChecked()) return stands;
    return 0;
}

Tsaverconfig::Tsaverconfig(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("saverconfig"));
    setWindowTitle(QStringLiteral("Orvello Screen Saver Setup"));
    setFixedSize(486, 403);
    auto* column = new QVBoxLayout(this);

    QGroupBox* box = Group(this, column, "GroupBox1", QStringLiteral(" Webcams to show "));
    ListOnly.first = Radio(box, "AllWebcams", QStringLiteral("All Webcams"), 0);
    ListOnly.second = Radio(box, "ListWebcams", QStringLiteral("Webcams on this list"), 1);
    auto* editList = new QPushButton(QStringLiteral("Edit List >"), box);
    editList->setObjectName(QStringLiteral("Button1"));
    box->layout()->addWidget(editList);
    connect(editList, &QPushButton::clicked, this, &Tsaverconfig::Button1Click);

    box = Group(this, column, "GroupBox2", QStringLiteral(" Select Webcams "));
    InOrder.first = Radio(box, "Randomly", QStringLiteral("Randomly"), 0);
    InOrder.second = Radio(box, "InOrder", QStringLiteral("In order"), 1);

    box = Group(this, column, "GroupBox3", QStringLiteral(" Show "));
    SavedOnly.first = Radio(box, "LivePictures", QStringLiteral("Live pictures (if connected to the Internet)"), 0);
    SavedOnly.second = Radio(box, "SavedPictures", QStringLiteral("Only saved pictures"), 1);

    box = Group(this, column, "GroupBox4", QStringLiteral(" Refresh "));
    box->layout()->addWidget(new QLabel(QStringLiteral("Every"), box));
    IntervalEdit = new QSpinBox(box);
    IntervalEdit->setObjectName(QStringLiteral("IntervalEdit"));
    IntervalEdit->setRange(1, 6000);
    box->layout()->addWidget(IntervalEdit);
    box->layout()->addWidget(new QLabel(QStringLiteral("Seconds"), box));
    static_cast<QHBoxLayout*>(box->layout())->addStretch(1);

    box = Group(this, column, "GroupBox5", QStringLiteral(" Display Pictures "));
    Display.first = Radio(box, "NormalSize", QStringLiteral("Normal size"), 1);
    Display.second = Radio(box, "DoubleSize", QStringLiteral("Double size"), 2);
    Display.third = Radio(box, "FullScreen", QStringLiteral("Full screen"), 0);

    box = Group(this, column, "GroupBox6", QStringLiteral(" Run Screen Saver if Orvello running ? "));
    WithMain.first = Radio(box, "RunYes", QStringLiteral("Yes"), 1);
    WithMain.second = Radio(box, "RunNo", QStringLiteral("No"), 0);

    auto* buttons = new QHBoxLayout;
    const auto button = [&](const char* name, const QString& caption, void (Tsaverconfig::*handler)()) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        buttons->addWidget(b);
        connect(b, &QPushButton::clicked, this, handler);
        return b;
    };
    button("OKBtn", QStringLiteral("OK"), &Tsaverconfig::OKBtnClick)->setDefault(true);
    button("CancelBtn", QStringLiteral("Cancel"), &Tsaverconfig::CancelBtnClick);
    button("Button2", QStringLiteral("About"), &Tsaverconfig::Button2Click);
    column->addStretch(1);
    column->addLayout(buttons);

    engine::tregconfig store;
    store.ReadSaverExtra(FExtra);
    store.ReadSaverExtra1(FExtra1);
    FExtra.DataDir.assign(platform::WithTrailingSlash(FExtra.DataDir.str()));
}

void Tsaverconfig::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void Tsaverconfig::FormShow() {
    ListOnly.Show(FExtra1.SaverListOnly);
    InOrder.Show(FExtra1.SaverInOrder);
    SavedOnly.Show(FExtra1.SaverSavedOnly);
    if (FExtra1.SaverInterval == 0) FExtra1.SaverInterval = 10;
    IntervalEdit->setValue(FExtra1.SaverInterval);  // the spin edit keeps it within 1..6000
    Display.Show(FExtra1.SaverDisplay);
    WithMain.Show(FExtra1.SaverWithMain != 0 ? 1 : 0);
}

void Tsaverconfig::OKBtnClick() {
    engine::tregconfig store;
    // Whatever the main program stored meanwhile survives: only the saver's own bytes change.
    store.ReadSaverExtra1(FExtra1);
    FExtra1.SaverListOnly = static_cast<std::uint8_t>(ListOnly.Selected());
    FExtra1.SaverInOrder = static_cast<std::uint8_t>(InOrder.Selected());
    FExtra1.SaverSavedOnly = static_cast<std::uint8_t>(SavedOnly.Selected());
    FExtra1.SaverDisplay = Display.Selected();
    FExtra1.SaverInterval = IntervalEdit->value();
    FExtra1.SaverWithMain = static_cast<std::uint8_t>(WithMain.Selected());
    try {
        store.WriteSaverExtra1(FExtra1);
    } catch (...) {
        accept();
        throw;
    }
    accept();
}

void Tsaverconfig::CancelBtnClick() { reject(); }

void Tsaverconfig::Button1Click() { ui::saverslistedit().EditList(FExtra.DataDir.str(), true); }

void Tsaverconfig::Button2Click() {
    TAboutBox about(this);
    about.exec();
}

void Tsaverconfig::done(int result) {
    QDialog::done(result);
    QApplication::quit();
}

}  // namespace saver
