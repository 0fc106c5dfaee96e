#include "ui/dialogs/preferences.h"

#include "ui/dialogs/dialog_controls.h"
#include "ui/dialogs/dialog_instance.h"
#include "ui/dialogs/record_text.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

namespace ui {

namespace {
constexpr int kMsgRestartToApply = 65285;
constexpr int kMinutesPerDay = 1440;
}  // namespace

TPreferences::TPreferences(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Preferences"));
    setWindowTitle(QStringLiteral("Préférences"));
    auto* layout = new QVBoxLayout(this);
    SpinEdit1 = AddSpinEdit(this, layout, "SpinEdit1", QStringLiteral("Messages lus"), 2, 64);
    SpinEdit1->setValue(2);

    auto* form = new QFormLayout;
    const QString queryHint = QStringLiteral("Query text ; $P is place name, $C is country");
    auto addEdit = [&](const char* name, const QString& caption, const QString& hint) {
        auto* edit = AddRecordEdit(this, form, name, caption);
        edit->setToolTip(hint);
        return edit;
    };
    Edit1 = addEdit("Edit1", QStringLiteral("Adresse http pour la météo"), {});
    Edit2 = addEdit("Edit2", QStringLiteral("URL géographique :"), {});
    Edit3 = addEdit("Edit3", QStringLiteral("Requête Météo :"), queryHint);
    Edit4 = addEdit("Edit4", QStringLiteral("Requête géographique :"), queryHint);
    layout->addLayout(form);

    SpinEdit2 = AddSpinEdit(this, layout, "SpinEdit2", QStringLiteral("Actualisation  :"), 1, kMinutesPerDay,
                            QStringLiteral("minutes"));
    SpinEdit3 = AddSpinEdit(this, layout, "SpinEdit3", QStringLiteral("Scan lent = cameras inactives :"), 1,
                            kMinutesPerDay, QStringLiteral("minutes"));
    SpinEdit2->setValue(60);
    SpinEdit3->setValue(60);
    CheckBox1 = Named<QCheckBox>(this, "CheckBox1", QStringLiteral("Montrer l'icone dans le systray"));
    layout->addWidget(CheckBox1);
    AddOkCancel(this, layout);
}

bool TPreferences::Execute(engine::TConfigRec& config, engine::TExtra1Rec& extra1, engine::TDiskManRec& diskMan) {
    SpinEdit1->setValue(config.MaxThreads);
    Edit1->setText(FromRecord(extra1.WeatherURL.view()));
    Edit2->setText(FromRecord(extra1.MapURL.view()));
    Edit3->setText(FromRecord(extra1.WeatherQuery.view()));
    Edit4->setText(FromRecord(extra1.MapQuery.view()));
    SpinEdit2->setValue(config.SlowScanRefresh);
    SpinEdit3->setValue(config.SlowScanIdle);
    CheckBox1->setChecked(diskMan.TrayIcon != 0);
    if (exec() != QDialog::Accepted) return false;

    ShowMessage(this, kMsgRestartToApply);
    config.MaxThreads = SpinEdit1->value();
    extra1.WeatherURL = ToRecord(Edit1->text());
    extra1.MapURL = ToRecord(Edit2->text());
    extra1.WeatherQuery = ToRecord(Edit3->text());
    extra1.MapQuery = ToRecord(Edit4->text());
    config.SlowScanRefresh = SpinEdit2->value();
    config.SlowScanIdle = SpinEdit3->value();
    diskMan.TrayIcon = CheckBox1->isChecked() ? 1 : 0;
    return true;
}

TPreferences& preferences() { return DialogInstance<TPreferences>::Get(); }

}  // namespace ui
