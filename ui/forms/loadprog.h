#pragma once
// "Ajout de webcams depuis la liste...": the progress of adding webcams from a list, with a
// button that asks the caller to stop.

#include <QDialog>

#include <functional>

class QLabel;
class QProgressBar;

namespace ui {

class Tloadprog : public QDialog {
    Q_OBJECT
public:
    explicit Tloadprog(QWidget* parent = nullptr);

    void SetProgress(int Done, int Total);

    // Called by "Annuler" when set; the caller decides what stopping means.
    std::function<void()> OnCancel;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QProgressBar* bar_;
    QLabel* label_;
};

Tloadprog& loadprog();

}  // namespace ui
