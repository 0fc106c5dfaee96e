#include "ui/dialogs/ledcolors.h"

#include "ui/dialogs/dialog_controls.h"
#include "ui/dialogs/dialog_instance.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include <initializer_list>

namespace ui {

namespace {

// A lit 15 x 15 lamp of one colour, as the thumbnails draw their status lamps.
class LegendLamp : public QWidget {
public:
    LegendLamp(QColor colour, QWidget* parent) : QWidget(parent), colour_(colour) { setFixedSize(15, 15); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(colour_.darker(250), 1));
        painter.setBrush(colour_);
        painter.drawEllipse(QRectF(1.5, 1.5, 12, 12));
    }

private:
    QColor colour_;
};

struct LampLine {
    QColor colour;
    const char* caption;
};

// A lamp's own colour when none is chosen.
const QColor kDefaultLamp{0xFF, 0x00, 0x00};

QGroupBox* LegendGroup(QWidget* parent, const char* name, const QString& title, std::initializer_list<LampLine> lines) {
    auto* group = Named<QGroupBox>(parent, name, title);
    auto* grid = new QGridLayout(group);
    int row = 0;
    for (const LampLine& line : lines) {
        grid->addWidget(new LegendLamp(line.colour, group), row, 0);
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
                                  {{QColor(0xC0, 0xC0, 0xC0), "Arrêté"},
                                   {QColor(0xFF, 0xFF, 0x00), "Chercher l'en-tête"},
                                   {QColor(0x00, 0xFF, 0x00), "Chercher l'image"},
                                   {QColor(0xFF, 0x00, 0xFF), "En attente"},
                                   {QColor(0x00, 0x00, 0xFF), "En attente réseau"},
                                   {kDefaultLamp, "Erreur"}}));
    layout->addWidget(LegendGroup(this, "GroupBox2", QStringLiteral("LEDs (bas)"),
                                  {{QColor(0x00, 0xFF, 0x00), "Favoris - Scan prioritaire"},
                                   {QColor(0xFF, 0xFF, 0x00), "scan normal"},
                                   {kDefaultLamp, "Scan lent"}}));
    AddOkCancel(this, layout, false);
}

Tledcolors& ledcolors() { return DialogInstance<Tledcolors>::Get(); }

}  // namespace ui
