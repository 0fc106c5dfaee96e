#include "ui/viewer/imageproc.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include "ui/dialogs/dialog_controls.h"
#include "ui/dialogs/dialog_instance.h"

namespace ui {
namespace {

QSlider* MakeTrackBar(QWidget* parent, const char* name, const QString& hint) {
    auto* bar = Named<QSlider>(parent, name, Qt::Horizontal);
    bar->setRange(1, 40);
    bar->setToolTip(hint);
    bar->setTickPosition(QSlider::TicksBelow);
    bar->setMinimumWidth(200);
    return bar;
}

}  // namespace

Timageproc::Timageproc(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("imageproc"));
    setWindowTitle(QStringLiteral("Embellir l'image"));
    setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    auto* layout = new QVBoxLayout(this);
    TrackBar1 = MakeTrackBar(this, "TrackBar1", QStringLiteral("Coupure"));
    TrackBar2 = MakeTrackBar(this, "TrackBar2", QStringLiteral("Profondeur"));
    layout->addWidget(TrackBar1);
    layout->addWidget(TrackBar2);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    auto* quit = Named<QPushButton>(this, "Button1", QStringLiteral("Quitter"));
    connect(quit, &QPushButton::clicked, this, &QWidget::hide);
    row->addWidget(quit);
    layout->addLayout(row);
    for (QSlider* bar : {TrackBar1, TrackBar2})
        connect(bar, &QSlider::valueChanged, this, [this] { TrackBarChange(); });
}

void Timageproc::SetValues(int CutOff, int Depth) {
    SetPositions(CutOff, Depth);
    show();
}

void Timageproc::SetPositions(int CutOff, int Depth) {
    settingValues_ = true;
    TrackBar1->setValue(CutOff);
    TrackBar2->setValue(Depth);
    settingValues_ = false;
}

void Timageproc::TrackBarChange() {
    if (!settingValues_ && OnChange) OnChange(TrackBar1->value(), TrackBar2->value());
}

Timageproc& imageproc() { return DialogInstance<Timageproc>::Get(); }

}  // namespace ui
