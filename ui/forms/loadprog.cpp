#include "ui/forms/loadprog.h"

#include <QPushButton>
#include <QVBoxLayout>

#include "ui/dialogs/dialog_controls.h"
#include "ui/dialogs/dialog_instance.h"

namespace ui {

Tloadprog::Tloadprog(QWidget* parent)
    : ProgressForm("loadprog", QStringLiteral("Ajout de webcams depuis la liste..."), QStringLiteral("Chargé"), parent,
                   Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setFixedSize(309, 104);
    auto* cancel = Named<QPushButton>(this, "Button1", QStringLiteral("Annuler"));
    connect(cancel, &QPushButton::clicked, this, [this] {
        if (OnCancel) OnCancel();
    });
    layout_->addWidget(cancel, 0, Qt::AlignHCenter);
}

Tloadprog& loadprog() { return DialogInstance<Tloadprog>::Get(); }

}  // namespace ui
