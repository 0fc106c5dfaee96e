#pragma once
// "Enregistrement glogal des paramètres": one saving mode for every webcam, or each webcam's own.

#include "ui/dialogs/save_mode_radios.h"

#include <QDialog>
#include <QPoint>

#include <cstdint>
#include <functional>
#include <memory>

class QRadioButton;

namespace ui {

class TGlobalsave : public QDialog {
    Q_OBJECT
public:
    explicit TGlobalsave(QWidget* parent = nullptr);
    ~TGlobalsave() override;

    // Shows the dialog with its top-left corner at position; on OK writes back whether the
    // global mode is on and, when it is, the mode, and returns true. editGlobalMotionSettings
    // runs the global motion-settings dialog for "Paramètres".
    bool Execute(std::uint8_t& mode, std::uint8_t& on, QPoint position,
                 std::function<void()> editGlobalMotionSettings = {});

private slots:
    void Button1Click();

private:
    QRadioButton* RadioButton1;
    std::unique_ptr<SaveModeRadios> saveMode_;
    std::function<void()> editGlobalMotionSettings_;
};

TGlobalsave& globalsave();

}  // namespace ui
