#include "ui/dialogs/selectenabled.h"

#include "ui/dialogs/dialog_controls.h"
#include "ui/dialogs/dialog_instance.h"
#include "ui/dialogs/title_width.h"

#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include <iterator>

namespace ui {

namespace {

// The radios of a group; the first is checked, as the form starts.
template <std::size_t N>
QGroupBox* RadioGroup(QWidget* parent, const char* name, const QString& title, const char* const (&captions)[N],
                      QRadioButton* (&radios)[N], int firstNumber) {
    auto* group = Named<QGroupBox>(parent, name, title);
    auto* layout = new QVBoxLayout(group);
    for (std::size_t i = 0; i < N; ++i) {
        const QByteArray radioName = "RadioButton" + QByteArray::number(firstNumber + static_cast<int>(i));
        radios[i] = Named<QRadioButton>(group, radioName.constData(), QString::fromUtf8(captions[i]));
        layout->addWidget(radios[i]);
    }
    radios[0]->setChecked(true);
    return group;
}

template <std::size_t N>
int CheckedIndex(QRadioButton* const (&radios)[N]) {
    for (std::size_t i = 0; i < N; ++i) {
        if (radios[i]->isChecked()) return static_cast<int>(i);
    }
    return 0;
}

constexpr const char* kWhich[] = {"Toutes les WebCams", "Seulement les webcams actives",
                                  "Seulement les webcams inactives", "Juste la webcam actuelle",
                                  "Webcams sélectionnées"};
constexpr const char* kAppend[] = {"Créer une nouvelle liste de webcams",
                                   "Ajouter ces webcams dans une liste déjà existante"};

}  // namespace

Tselectenabled::Tselectenabled(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("selectenabled"));
    setWindowTitle(QStringLiteral("Enregistrement des préférences pour les webcams"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        RadioGroup(this, "GroupBox1", QStringLiteral("Quelles WebCams voulez vous enregistrer ?"), kWhich, whichRadios_, 1));
    layout->addWidget(RadioGroup(this, "GroupBox2", QStringLiteral("Voulez vous :"), kAppend, appendRadios_,
                                 static_cast<int>(std::size(kWhich)) + 1));
    AddOkCancel(this, layout);
    FitTitle(*this);
}

bool Tselectenabled::Execute(int& which, int& append) {
    if (exec() != QDialog::Accepted) return false;
    which = CheckedIndex(whichRadios_) + 1;
    append = CheckedIndex(appendRadios_);
    return true;
}

Tselectenabled& selectenabled() { return DialogInstance<Tselectenabled>::Get(); }

}  // namespace ui
