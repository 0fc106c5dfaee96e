#pragma once
// The two progress forms' common part: a bar in percent and a label with the numbers run
// together with the words ("Chargé3de10").

#include <QDialog>
#include <QString>

class QLabel;
class QProgressBar;
class QVBoxLayout;

namespace ui {

// Done / Total in percent, rounded halves to even, kept within 0..100; 0 when Total is not
// above 0, so that an empty list never divides by zero.
int ProgressPercent(int done, int total);

class ProgressForm : public QDialog {
    Q_OBJECT
protected:
    // Name: the objectName; Prefix: the label's words before Done.
    ProgressForm(const char* name, const QString& caption, const QString& prefix, QWidget* parent,
                 Qt::WindowFlags flags = {});

    // The bar at ProgressPercent and the label at Prefix, Done, "de", Total.
    void ShowCount(int done, int total);

    QVBoxLayout* layout_;  // the bar and the label, from the top

private:
    QProgressBar* bar_;
    QLabel* label_;
    QString prefix_;
};

}  // namespace ui
