#include "ui/forms/waitform.h"

#include <QLabel>
#include <QVBoxLayout>

#include "ui/dialogs/dialog_controls.h"
#include "ui/dialogs/dialog_instance.h"
#include "ui/dialogs/title_width.h"

namespace ui {

Twaitform::Twaitform(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("waitform"));
    setWindowTitle(QStringLiteral("Les requêtes vers les webcams sont en cours d'arrêt"));
    auto* layout = new QVBoxLayout(this);
    auto* label = Named<QLabel>(this, "Label1",
                                QStringLiteral("Veuillez patienter pendant l'arrêt de toutes les webcams. Ceci peut "
                                               "prendre quelques instants..."));
    label->setWordWrap(true);
    layout->addWidget(label);
    setMinimumWidth(360);
    FitTitle(*this);
}

Twaitform& waitform() { return DialogInstance<Twaitform>::Get(); }

}  // namespace ui
