#pragma once
// The radios that show a picture-saving mode: "toutes les images" (0), "Aucune images" (255),
// "Si mouvement" (254) and "Sauter" with a skip count 1..253 in a spin edit.

#include <QString>

#include <cstdint>
#include <initializer_list>
#include <optional>

class QBoxLayout;
class QRadioButton;
class QSpinBox;
class QWidget;

namespace ui {

struct SaveModeNames {
    const char* every;
    const char* none;
    const char* motion;
    const char* skip;
    const char* skipCount;
};

class SaveModeRadios {
public:
    // Makes the controls with the form's own names and adds them, one line each, to layout.
    SaveModeRadios(QWidget* parent, QBoxLayout* layout, const SaveModeNames& names);

    // Checks the radio of mode; a skip count also goes into the spin edit.
    void Show(std::uint8_t mode) const;
    // The mode of the checked radio; nothing when none of the four is checked.
    std::optional<std::uint8_t> Checked() const;

private:
    QRadioButton* every_;
    QRadioButton* none_;
    QRadioButton* motion_;
    QRadioButton* skip_;
    QSpinBox* skipCount_;
};

// Leaves every radio of the list unchecked, which a click never can.
void UncheckRadios(std::initializer_list<QRadioButton*> radios);

}  // namespace ui
