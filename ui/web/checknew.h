#pragma once
// "Orvello - Verification de l'existance de nouvelle version": a window that shows itself, runs
// the version check and tells the result, with a button to the downloads page when there is a
// newer version.

#include <QDialog>

#include <functional>
#include <string>

class QLabel;
class QPushButton;

namespace ui {

class Tchecknew : public QDialog {
    Q_OBJECT
public:
    explicit Tchecknew(QWidget* parent = nullptr);

    // Shows the window (not modal) and runs check; openPage opens the downloads page.
    void Check(const std::function<bool(std::string& text)>& check, std::function<void()> openPage);

private:
    QLabel* Label1;
    QLabel* Label2;
    QPushButton* Button1;
    QPushButton* OKBtn;
    std::function<void()> openPage_;
};

Tchecknew& checknew();

}  // namespace ui
