#include "ui/forms/loadingwc.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include "ui/dialogs/dialog_controls.h"
#include "ui/dialogs/dialog_instance.h"
#include "ui/forms/progress_display.h"

namespace ui {

Tloadingwc::Tloadingwc(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("loadingwc"));
    setWindowTitle(QStringLiteral("Chargement de vos webcams ..."));
    auto* layout = new QVBoxLayout(this);
    bar_ = Named<QProgressBar>(this, "ProgressBar1");
    bar_->setRange(0, 100);
    bar_->setTextVisible(false);
    label_ = Named<QLabel>(this, "Label1");
    layout->addWidget(bar_);
    layout->addWidget(label_);
    setMinimumWidth(320);
}

void Tloadingwc::SetProgress(int Done, int Total) {
    ShowProgress(*bar_, *label_, QStringLiteral("Chargement de la webcam ..."), Done, Total);
    show();
}

Tloadingwc& loadingwc() { return DialogInstance<Tloadingwc>::Get(); }

}  // namespace ui
