#pragma once
// "Changer la fréquence de rafraichissement": a refresh time and the If-Modified-Since switch
// for the selected webcams.

#include <QDialog>

#include <cstdint>

class QCheckBox;
class QSpinBox;

namespace ui {

class Tchangerefresh : public QDialog {
    Q_OBJECT
public:
    explicit Tchangerefresh(QWidget* parent = nullptr);

    // Shows the values modally; on OK writes them back and returns true. A refresh time cannot
    // go below 0 seconds.
    bool Execute(std::int32_t& seconds, std::uint8_t& flag);

private:
    QSpinBox* SpinEdit1;
    QCheckBox* CheckBox1;
};

Tchangerefresh& changerefresh();

}  // namespace ui
