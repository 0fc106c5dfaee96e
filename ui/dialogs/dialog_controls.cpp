#include "ui/dialogs/dialog_controls.h"

#include "engine/messages.h"

#include <QBoxLayout>
#include <QDialog>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>

namespace ui {

QSpinBox* AddSpinEdit(QWidget* parent, QBoxLayout* layout, const char* name, const QString& before,
                      int min, int max, const QString& after) {
    auto* row = new QHBoxLayout;
    auto* spin = Named<QSpinBox>(parent, name);
    spin->setRange(min, max);
    if (!before.isEmpty()) row->addWidget(new QLabel(before, parent));
    row->addWidget(spin);
    if (!after.isEmpty()) row->addWidget(new QLabel(after, parent));
    row->addStretch();
    layout->addLayout(row);
    return spin;
}

QLineEdit* AddRecordEdit(QWidget* parent, QFormLayout* form, const char* name, const QString& caption) {
    constexpr int kMaxRecordText = 255;
    auto* edit = Named<QLineEdit>(parent, name);
    edit->setMaxLength(kMaxRecordText);
    form->addRow(caption, edit);
    return edit;
}

QString Message(int number) { return QString::fromStdString(engine::LoadMessage(number)); }

void ShowMessage(QWidget* parent, int number) {
    QMessageBox::information(parent, QStringLiteral("Orvello"), Message(number));
}

void AddOkCancel(QDialog* dialog, QBoxLayout* layout, bool withCancel) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    auto* ok = Named<QPushButton>(dialog, "OKBtn", QStringLiteral("Ok"));
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    row->addWidget(ok);
    if (withCancel) {
        auto* cancel = Named<QPushButton>(dialog, "CancelBtn", QStringLiteral("Annuler"));
        QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
        row->addWidget(cancel);
    }
    layout->addLayout(row);
}

}  // namespace ui
