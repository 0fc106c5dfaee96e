#include "ui/dialogs/proxysetup.h"

#include "ui/dialogs/dialog_controls.h"
#include "ui/dialogs/dialog_instance.h"
#include "ui/dialogs/record_text.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>


namespace ui {

namespace {
constexpr int kMsgPortNotNumeric = 65284;
}  // namespace

Tproxysetup::Tproxysetup(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("proxysetup"));
    setWindowTitle(QStringLiteral("Paramètres du proxy"));
    auto* layout = new QVBoxLayout(this);
    CheckBox1 = Named<QCheckBox>(this, "CheckBox1", QStringLiteral("Utiliser un proxy"));
    layout->addWidget(CheckBox1);

    auto* form = new QFormLayout;
    auto addEdit = [&](const char* name, const QString& caption) { return AddRecordEdit(this, form, name, caption); };
    Edit1 = addEdit("Edit1", QStringLiteral("Adresse"));
    Edit2 = addEdit("Edit2", QStringLiteral("Port"));
    Edit3 = addEdit("Edit3", QStringLiteral("identifiant"));
    Edit4 = addEdit("Edit4", QStringLiteral("Mot de passe "));
    Edit4->setEchoMode(QLineEdit::Password);
    layout->addLayout(form);
    layout->addWidget(
        new QLabel(QStringLiteral("Configuration particulière : consulter votre administrateur réseau."), this));
    AddOkCancel(this, layout);
}

bool Tproxysetup::Execute(engine::TConfigRec& config, engine::TExtra1Rec& extra1) {
    CheckBox1->setChecked(config.UseProxy != 0);
    Edit1->setText(FromRecord(config.ProxyHost.view()));
    Edit2->setText(QString::number(config.ProxyPort));
    Edit3->setText(FromRecord(extra1.ProxyUser.view()));
    Edit4->setText(FromRecord(extra1.ProxyPassword.view()));
    if (exec() != QDialog::Accepted) return false;

    config.UseProxy = CheckBox1->isChecked() ? 1 : 0;
    config.ProxyHost = ToRecord(Edit1->text());
    if (auto port = WholeNumberAs<std::int32_t>(Edit2->text())) {
        config.ProxyPort = *port;
    } else {
        ShowMessage(this, kMsgPortNotNumeric);
    }
    extra1.ProxyUser = ToRecord(Edit3->text());
    extra1.ProxyPassword = ToRecord(Edit4->text());
    return true;
}

Tproxysetup& proxysetup() { return DialogInstance<Tproxysetup>::Get(); }

}  // namespace ui
