#pragma once
// "Ajout de webcams depuis la liste...": the progress of adding webcams from a list, with a
// button that asks the caller to stop.

#include <functional>

#include "ui/forms/progress_form.h"

namespace ui {

class Tloadprog : public ProgressForm {
    Q_OBJECT
public:
    explicit Tloadprog(QWidget* parent = nullptr);

    void SetProgress(int Done, int Total) { ShowCount(Done, Total); }

    // Called by "Annuler" when set; the caller decides what stopping means.
    std::function<void()> OnCancel;
};

Tloadprog& loadprog();

}  // namespace ui
