#pragma once
// "Orvello Screen Saver Setup": the screen saver's six settings in EXTRA1, the list editor and
// the about box. OK writes only the saver's own bytes of EXTRA1, over the record as stored at
// that moment; closing the dialog ends the program.

#include "engine/settings_records.h"

#include <QDialog>

#include <utility>

class QRadioButton;
class QSpinBox;

namespace saver {

class Tsaverconfig : public QDialog {
    Q_OBJECT
public:
    // Reads EXTRA and EXTRA1 with the screen saver's readers.
    explicit Tsaverconfig(QWidget* parent = nullptr);

    void OKBtnClick();
    void CancelBtnClick();
    void Button1Click();  // "Edit List >"
    void Button2Click();  // "About"

protected:
    void showEvent(QShowEvent* event) override;  // FormShow
    // OK, Cancel, Escape and the window's close all end here: the program ends with the dialog.
    void done(int result) override;

private:
    // One group box of radio buttons, each with the stored value it stands for.
    struct Choice {
        std::pair<QRadioButton*, int> first, second, third{nullptr, 0};
        void Show(int value);
        int Selected() const;
    };
    void FormShow();

    engine::TExtraRec FExtra;
    engine::TExtra1Rec FExtra1;

    Choice ListOnly, InOrder, SavedOnly, Display, WithMain;
    QSpinBox* IntervalEdit;
};

}  // namespace saver
