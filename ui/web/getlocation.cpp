#include "ui/web/getlocation.h"

#include "engine/webcam.h"
#include "ui/dialogs/dialog_controls.h"
#include "ui/dialogs/dialog_instance.h"
#include "ui/dialogs/record_text.h"
#include "ui/dialogs/title_width.h"
#include "ui/editors/country_list.h"
#include "ui/web/location_page.h"

#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ui {
namespace {
constexpr int kMsgShow = 65185;  // "Montrer"
}  // namespace

Tgetlocation::Tgetlocation(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("getlocation"));
    setWindowTitle(QStringLiteral("Entrer l'emplacement geographique de la caméra"));
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(QStringLiteral("Cette webcam n'a pas d'emplacement géographique définit. Veuillez entrer "
                                            "un nom d'emplacement :"),
                             this);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    Edit1 = Named<QLineEdit>(this, "Edit1");
    Edit1->setReadOnly(true);
    Edit1->setToolTip(QStringLiteral("La description de cette camera est affiché en dessous de l'image"));
    Edit1->installEventFilter(this);
    layout->addWidget(new QLabel(QStringLiteral("Vous pouvez choisir "), this));
    layout->addWidget(Edit1);
    auto* form = new QFormLayout;
    Edit10 = Named<QLineEdit>(this, "Edit10");
    Edit10->setToolTip(QStringLiteral("Emplacement géographique de la webcam (ex : New York, Paris)"));
    form->addRow(QStringLiteral("Emplacement :"), Edit10);
    ComboBox1 = Named<QComboBox>(this, "ComboBox1");
    ComboBox1->setEditable(true);
    ComboBox1->addItems(CountryList());
    form->addRow(QStringLiteral("Pays:"), ComboBox1);
    layout->addLayout(form);
    Label4 = Named<QLabel>(this, "Label4", QStringLiteral("(Orvello est entrain de déterminer...)"));
    layout->addWidget(Label4);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    OKBtn = Named<QPushButton>(this, "OKBtn", QStringLiteral("Montrer la météo"));
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    auto* cancel = Named<QPushButton>(this, "CancelBtn", QStringLiteral("Annuler"));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(OKBtn);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    FitTitle(*this);
}

std::optional<bool> Tgetlocation::Edit(std::string_view description, engine::TWebcamDef1Rec& rec2,
                                       const QString& title) {
    Label4->hide();
    Edit1->setText(FromRecord(description));
    Edit10->clear();
    ComboBox1->setCurrentIndex(-1);
    ComboBox1->setEditText(FromRecord(rec2.Country.view()));
    if (rec2.Country.empty()) {
        const int guessed = GuessCountry(Edit1->text(), CountryList());
        if (guessed >= 0) {
            ComboBox1->setCurrentIndex(guessed);
            Label4->show();
        }
    }
    // The stored caption is "Montrer" and the title run together; a blank keeps them apart.
    OKBtn->setText(Message(kMsgShow) + u' ' + title);
    Edit10->setFocus();
    if (exec() != QDialog::Accepted) return std::nullopt;
    QString place = Edit10->text();
    place.remove(u',');
    rec2.PlaceName = ToRecord(place);
    rec2.Country = ToRecord(ComboBox1->currentText());
    return !Edit10->text().isEmpty();
}

bool Tgetlocation::Execute(engine::twebcam& webcam, const QString& title) {
    engine::TWebcamDef1Rec rec2 = webcam.Rec2();
    const std::optional<bool> placed = Edit(webcam.Rec().Description.view(), rec2, title);
    if (!placed) return false;
    webcam.SetRecord2(rec2);
    return *placed;
}

// A mouse-up in the description takes its selected words as the place.
bool Tgetlocation::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Edit1 && event->type() == QEvent::MouseButtonRelease && Edit1->hasSelectedText())
        Edit10->setText(Edit1->selectedText());
    return QDialog::eventFilter(watched, event);
}

Tgetlocation& getlocation() { return DialogInstance<Tgetlocation>::Get(); }

}  // namespace ui
