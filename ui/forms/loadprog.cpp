#include "ui/forms/loadprog.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/dialogs/dialog_controls.h"
#include "ui/dialogs/dialog_instance.h"
#include "ui/forms/progress_display.h"
#include "ui/forms/screen_centre.h"

namespace ui {

Tloadprog::Tloadprog(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("loadprog"));
    setWindowTitle(QStringLiteral("Ajout de webcams depuis la liste..."));
    setFixedSize(309, 104);
    auto* layout = new QVBoxLayout(this);
    bar_ = Named<QProgressBar>(this, "ProgressBar1");
    bar_->setRange(0, 100);
    bar_->setTextVisible(false);
    label_ = Named<QLabel>(this, "Label1");
    auto* cancel = Named<QPushButton>(this, "Button1", QStringLiteral("Annuler"));
    connect(cancel, &QPushButton::clicked, this, [this] {
        if (OnCancel) OnCancel();
    });
    layout->addWidget(bar_);
    layout->addWidget(label_);
    layout->addWidget(cancel, 0, Qt::AlignHCenter);
}

void Tloadprog::SetProgress(int Done, int Total) {
    ShowProgress(*bar_, *label_, QStringLiteral("Chargé"), Done, Total);
}

void Tloadprog::showEvent(QShowEvent* event) {
    CentreOnScreen(*this);
    QDialog::showEvent(event);
}

Tloadprog& loadprog() { return DialogInstance<Tloadprog>::Get(); }

}  // namespace ui
