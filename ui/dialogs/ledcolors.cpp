#include "ui/dialogs/ledcolors.h"

#include "ui/controls/round_led.h"
#include "ui/dialogs/dialog_controls.h"
#include "ui/dialogs/dialog_instance.h"
#include "ui/dialogs/title_width.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include <initializer_list>
#include <optional>

namespace ui {

namespace {

// A lamp of the colour given, or of the lamp's own colour.
struct LampLine {
    std::optional<TLedOnColors> colour;
    const char* caption;
};

TRoundLed* LitLamp(std::optional<TLedOnColors> colour, QWidget* parent) {
    auto* lamp = new TRoundLed(parent);
    if (colour) lamp->SetLedOnColor(*colour);
    lamp->SetLedStatus(lsOn);
    return lamp;
}

QGroupBox* LegendGroup(QWidget* parent, const char* name, const QString& title, std::initializer_list<LampLine> lines) {
    auto* group = Named<QGroupBox>(parent, name, title);
    auto* grid = new QGridLayout(group);
    int row = 0;
    for (const LampLine& line : lines) {
        grid->addWidget(LitLamp(line.colour, group), row, 0);
        grid->addWidget(new QLabel(QString::fromUtf8(line.caption), group), row, 1);
        ++row;
    }
    grid->setColumnStretch(1, 1);
    return group;
}

}  // namespace

Tledcolors::Tledcolors(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ledcolors"));
    setWindowTitle(QStringLiteral("Statut des diodes colorées"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LegendGroup(this, "GroupBox1", QStringLiteral("LEDs (haut)"),
                                  {{lcSilver, "Arrêté"},
                                   {lcYellow, "Chercher l'en-tête"},
                                   {lcLime, "Chercher l'image"},
                                   {lcFuchsia, "En attente"},
                                   {lcBlue, "En attente réseau"},
                                   {std::nullopt, "Erreur"}}));
    layout->addWidget(LegendGroup(this, "GroupBox2", QStringLiteral("LEDs (bas)"),
                                  {{lcLime, "Favoris - Scan prioritaire"},
                                   {lcYellow, "scan normal"},
                                   {std::nullopt, "Scan lent"}}));
    AddOkCancel(this, layout, false);
    FitTitle(*this);
}

Tledcolors& ledcolors() { return DialogInstance<Tledcolors>::Get(); }

}  // namespace ui
