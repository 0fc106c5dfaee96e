#pragma once
// "Select Thumbnail Size": seven buttons showing a picture at the seven thumbnail sizes; the
// chosen button's size is the grid cell of that thumbnail size.

#include <QDialog>
#include <QImage>

class QToolButton;

namespace ui {

class Tselthumbsize : public QDialog {
    Q_OBJECT
public:
    explicit Tselthumbsize(QWidget* parent = nullptr);

    // Shows picture on the seven buttons; a click returns true with the cell size of the
    // button's thumbnail size (the thumbnail plus 12 in width and 26 in height).
    bool Execute(const QImage& picture, int& height, int& width);

private:
    void ButtonClick(QToolButton* button);

    QToolButton* chosen_ = nullptr;
};

Tselthumbsize& selthumbsize();

}  // namespace ui
