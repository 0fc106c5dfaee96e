#pragma once
// "Chargement de vos webcams ...": the progress of reading the webcam definitions at start and
// on a change of the data folder; setting the progress shows the form and paints it at once
// (the load does not return to the event loop until it is done).

#include <QElapsedTimer>

#include "ui/forms/progress_form.h"

namespace ui {

class Tloadingwc : public ProgressForm {
    Q_OBJECT
public:
    explicit Tloadingwc(QWidget* parent = nullptr);

    void SetProgress(int Done, int Total);

private:
    void WaitUntilExposed();

    QElapsedTimer sincePaint_;  // since the last repaint; invalid before the first
};

Tloadingwc& loadingwc();

}  // namespace ui
