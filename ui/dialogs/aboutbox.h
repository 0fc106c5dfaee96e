#pragma once
// "A propos de Orvello": the product name, with the branding title of ovl.ini when there is one.

#include <QDialog>

class QLabel;

namespace ui {

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    // Shows the box modally; a non-empty brandingTitle follows the product name after " - ".
    void Execute(const QString& brandingTitle = {});

private:
    QLabel* ProductName;
};

TAboutBox& aboutbox();

}  // namespace ui
