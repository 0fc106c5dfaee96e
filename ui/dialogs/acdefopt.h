#pragma once
// "Créer automatiquement les paramètres par defaut ainsi que les options": the settings given to
// webcams made from lists and from addresses dropped on the quick bar.

#include "ui/dialogs/save_mode_radios.h"

#include <QDialog>

#include <cstdint>
#include <functional>
#include <memory>

class QCheckBox;
class QLineEdit;

namespace ui {

class Tacdefopt : public QDialog {
    Q_OBJECT
public:
    explicit Tacdefopt(QWidget* parent = nullptr);
    ~Tacdefopt() override;

    // Shows the values modally; on OK writes them back and returns true. A refresh that is not
    // a number is left as it was. editGlobalMotionSettings runs the global motion-settings
    // dialog for "Paramètres...".
    bool Execute(std::int32_t& autoRefresh, std::uint8_t& autoStart, std::uint16_t& noIfModifiedSince,
                 std::uint8_t& oneWordPrefix, std::uint8_t& oneWordNames, std::uint8_t& autoSaveMode,
                 std::function<void()> editGlobalMotionSettings = {});

private slots:
    void Button1Click();

private:
    QLineEdit* Edit6;
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox4;
    QCheckBox* CheckBox2;
    QCheckBox* CheckBox3;
    std::unique_ptr<SaveModeRadios> saveMode_;
    std::function<void()> editGlobalMotionSettings_;
};

Tacdefopt& acdefopt();

}  // namespace ui
