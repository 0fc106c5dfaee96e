#pragma once
// "Chargement de vos webcams ...": the progress of reading the webcam definitions at start and
// on a change of the data folder; setting the progress shows the form.

#include "ui/forms/progress_form.h"

namespace ui {

class Tloadingwc : public ProgressForm {
    Q_OBJECT
public:
    explicit Tloadingwc(QWidget* parent = nullptr);

    void SetProgress(int Done, int Total);
};

Tloadingwc& loadingwc();

}  // namespace ui
