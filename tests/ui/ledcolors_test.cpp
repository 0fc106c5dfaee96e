#include "ui/dialogs/ledcolors.h"

#include "tests/ui/dialog_test_support.h"

#include <QGroupBox>
#include <QLabel>

namespace {

using dialogtest::Child;

QStringList Captions(QWidget& group) {
    QStringList captions;
    for (QLabel* label : group.findChildren<QLabel*>()) captions << label->text();
    return captions;
}

TEST(Tledcolors, ShowsTheLegendOfBothLampRows) {
    ui::Tledcolors& dialog = ui::ledcolors();
    EXPECT_EQ(dialog.windowTitle(), "Statut des diodes colorées");
    EXPECT_EQ(Captions(Child<QGroupBox>(dialog, "GroupBox1")),
              (QStringList{"Arrêté", "Chercher l'en-tête", "Chercher l'image", "En attente", "En attente réseau",
                           "Erreur"}));
    EXPECT_EQ(Captions(Child<QGroupBox>(dialog, "GroupBox2")),
              (QStringList{"Favoris - Scan prioritaire", "scan normal", "Scan lent"}));
    dialogtest::WhenShown(dialog, [&] {
        dialogtest::SaveScreenshot(dialog, "ledcolors");
        dialogtest::Click(dialog, "OKBtn");
    });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
}

}  // namespace
