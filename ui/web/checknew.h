#pragma once
// "Orvello - Verification de l'existance de nouvelle version": a window that shows itself, runs
// the version check and tells the result (or why the check failed), with a button to the
// downloads page when there is a newer version. Closing the window ends a check that runs.

#include "ui/web/version_check.h"

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

    using VersionCheck = std::function<VersionAnswer(const std::function<bool()>& cancelled)>;
    // Shows the window (not modal) and runs check, which ends once cancelled() holds; openPage
    // opens the downloads page. Asked again while a check runs, the window shows that one.
    void Check(const VersionCheck& check, std::function<void()> openPage);

protected:
    void done(int result) override;

private:
    QLabel* Label1;
    QLabel* Label2;
    QPushButton* Button1;
    QPushButton* OKBtn;
    std::function<void()> openPage_;
    bool busy_ = false;       // a check runs
    bool cancelled_ = false;  // the window was closed while it ran
};

Tchecknew& checknew();

}  // namespace ui
