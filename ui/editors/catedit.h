#pragma once
// "Catégorie des Webcams": the categories 1..57 of one webcam record, the ones it is not in on
// the left, the ones it is in on the right.

#include "ui/saverlist/dual_list_dialog.h"

#include "engine/webcam_records.h"

namespace engine {
class tcategorymanager;
}

namespace ui {

class Tcatedit : public DualListDialog {
    Q_OBJECT
public:
    explicit Tcatedit(QWidget* parent = nullptr);

    // Shows rec's categories by the names of names (null: the webcam manager's category
    // manager, or the dialog's own while there is none). On OK sets flags 1..57 of rec's
    // Categories from the right list and returns true; Cancel leaves rec untouched.
    bool EditCategories(engine::TWebcamDefRec& rec, const engine::tcategorymanager* names = nullptr);

private slots:
    void SrcListDblClick();
};

Tcatedit& catedit();

}  // namespace ui
