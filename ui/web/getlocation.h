#pragma once
// "Entrer l'emplacement geographique de la caméra": asks a webcam's place and country for its
// weather and map pages. The country is guessed from the description when the webcam has none.

#include "engine/webcam_records.h"

#include <QDialog>
#include <QString>

#include <optional>
#include <string_view>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace engine {
class twebcam;
}

namespace ui {

class Tgetlocation : public QDialog {
    Q_OBJECT
public:
    explicit Tgetlocation(QWidget* parent = nullptr);

    // Asks the place of the webcam; on OK its record 2 gets the place (commas removed) and the
    // country and is written. True when a place was entered.
    bool Execute(engine::twebcam& webcam, const QString& title);
    // The same on the records: nothing when cancelled, else whether a place was entered, with
    // rec2's PlaceName and Country set.
    std::optional<bool> Edit(std::string_view description, engine::TWebcamDef1Rec& rec2, const QString& title);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* Edit1;
    QLineEdit* Edit10;
    QComboBox* ComboBox1;
    QLabel* Label4;
    QPushButton* OKBtn;
};

Tgetlocation& getlocation();

}  // namespace ui
