#pragma once
// "Chargement de vos webcams ...": the progress of reading the webcam definitions at start and
// on a change of the data folder; setting the progress shows the form.

#include <QDialog>

class QLabel;
class QProgressBar;

namespace ui {

class Tloadingwc : public QDialog {
    Q_OBJECT
public:
    explicit Tloadingwc(QWidget* parent = nullptr);

    void SetProgress(int Done, int Total);

private:
    QProgressBar* bar_;
    QLabel* label_;
};

Tloadingwc& loadingwc();

}  // namespace ui
