#pragma once
// "About Orvello Screen Saver": the product line, two more lines, an image in a bevel, OK.

#include <QDialog>

namespace saver {

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);
};

}  // namespace saver
