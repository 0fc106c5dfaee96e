#pragma once
// "Statut des diodes colorées": the legend of the status lamps drawn on the thumbnails.

#include <QDialog>

namespace ui {

class Tledcolors : public QDialog {
    Q_OBJECT
public:
    explicit Tledcolors(QWidget* parent = nullptr);
};

Tledcolors& ledcolors();

}  // namespace ui
