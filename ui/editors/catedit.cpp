#include "ui/editors/catedit.h"

#include "engine/categories.h"
#include "ui/dialogs/dialog_controls.h"
#include "ui/dialogs/dialog_instance.h"
#include "ui/dialogs/record_text.h"

#include <QListWidget>

namespace ui {
namespace {

constexpr int kMsgCategoriesOf = 65287;

const engine::tcategorymanager& CategoryNames(const engine::tcategorymanager* given) {
    if (given) return *given;
    if (engine::CategoryManager) return *engine::CategoryManager;
    static const engine::tcategorymanager own;
    return own;
}

}  // namespace

Tcatedit::Tcatedit(QWidget* parent)
    : DualListDialog("catedit",
                     {QStringLiteral("Catégorie des Webcams"), QStringLiteral("Catégories disponibles"),
                      QStringLiteral("Catégories actuelles"), QStringLiteral("Ok"), QStringLiteral("Annuler")},
                     parent) {
    connect(SrcList, &QListWidget::itemDoubleClicked, this, &Tcatedit::SrcListDblClick);
    resize(420, 320);
}

bool Tcatedit::EditCategories(engine::TWebcamDefRec& rec, const engine::tcategorymanager* names) {
    const engine::tcategorymanager& categories = CategoryNames(names);
    setWindowTitle(Message(kMsgCategoriesOf) + FromRecord(rec.Name.view()));
    ClearLists();
    for (int k = 1; k <= engine::kCategoryNamesUsed; ++k) {
        const QString name = QString::fromStdString(categories.FNames[static_cast<std::size_t>(k)]);
        (rec.Categories[k] != 0 ? DstList : SrcList)->addItem(name);
    }
    SetButtons();
    const bool confirmed = exec() == QDialog::Accepted;
    if (confirmed) {
        for (int k = 1; k <= engine::kCategoryNamesUsed; ++k) rec.Categories[k] = 0;
        for (int row = 0; row < DstList->count(); ++row) {
            const int k = categories.IndexOfCategory(DstList->item(row)->text().toStdString());
            if (k != 0) rec.Categories[k] = 1;
        }
    }
    ClearLists();
    return confirmed;
}

void Tcatedit::SrcListDblClick() {
    MoveSelected(SrcList, DstList);
    done(QDialog::Accepted);
}

Tcatedit& catedit() { return DialogInstance<Tcatedit>::Get(); }

}  // namespace ui
