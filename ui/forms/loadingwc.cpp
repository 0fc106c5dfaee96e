#include "ui/forms/loadingwc.h"

#include "ui/dialogs/dialog_instance.h"

namespace ui {

Tloadingwc::Tloadingwc(QWidget* parent)
    : ProgressForm("loadingwc", QStringLiteral("Chargement de vos webcams ..."),
                   QStringLiteral("Chargement de la webcam ..."), parent) {
    setMinimumWidth(320);
}

void Tloadingwc::SetProgress(int Done, int Total) {
    ShowCount(Done, Total);
    show();
}

Tloadingwc& loadingwc() { return DialogInstance<Tloadingwc>::Get(); }

}  // namespace ui
