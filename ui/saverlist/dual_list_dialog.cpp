#include "ui/saverlist/dual_list_dialog.h"

#include "ui/dialogs/dialog_controls.h"  // Named (a header-only template)

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace ui {

DualListDialog::DualListDialog(const char* objectName, const DualListTexts& texts, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QString::fromLatin1(objectName));
    setWindowTitle(texts.caption);
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    SrcLabel = Named<QLabel>(this, "SrcLabel", texts.srcLabel);
    DstLabel = Named<QLabel>(this, "DstLabel", texts.dstLabel);
    SrcList = Named<QListWidget>(this, "SrcList");
    DstList = Named<QListWidget>(this, "DstList");
    for (QListWidget* list : {SrcList, DstList}) {
        list->setSelectionMode(QAbstractItemView::ExtendedSelection);
        connect(list, &QListWidget::itemSelectionChanged, this, &DualListDialog::SetButtons);
    }
    grid->addWidget(SrcLabel, 0, 0);
    grid->addWidget(DstLabel, 0, 2);
    grid->addWidget(SrcList, 1, 0);
    grid->addWidget(DstList, 1, 2);

    auto* buttons = new QVBoxLayout;
    buttons->addStretch();
    auto addButton = [&](const char* name, const char* caption, void (DualListDialog::*slot)()) {
        auto* button = Named<QToolButton>(this, name);
        button->setText(QString::fromLatin1(caption));
        button->setMinimumWidth(32);
        connect(button, &QToolButton::clicked, this, slot);
        buttons->addWidget(button);
        return button;
    };
    IncludeBtn = addButton("IncludeBtn", ">", &DualListDialog::IncludeBtnClick);
    IncAllBtn = addButton("IncAllBtn", ">>", &DualListDialog::IncAllBtnClick);
    ExcludeBtn = addButton("ExcludeBtn", "<", &DualListDialog::ExcludeBtnClick);
    ExAllBtn = addButton("ExAllBtn", "<<", &DualListDialog::ExcAllBtnClick);
    ExcludeBtn->setEnabled(false);
    ExAllBtn->setEnabled(false);
    buttons->addStretch();
    grid->addLayout(buttons, 1, 1);
    layout->addLayout(grid);

    extras_ = new QVBoxLayout;
    layout->addLayout(extras_);

    auto* row = new QHBoxLayout;
    row->addStretch();
    OKBtn = Named<QPushButton>(this, "OKBtn", texts.ok);
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    CancelBtn = Named<QPushButton>(this, "CancelBtn", texts.cancel);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    row->addWidget(OKBtn);
    row->addWidget(CancelBtn);
    layout->addLayout(row);
}

void DualListDialog::ClearLists() {
    SrcList->clear();
    DstList->clear();
}

void DualListDialog::MoveSelected(QListWidget* list, QListWidget* items) {
    for (int row = list->count() - 1; row >= 0; --row) {
        if (list->item(row)->isSelected()) items->addItem(list->takeItem(row));
    }
}

void DualListDialog::SetButtons() {
    const bool srcHasItems = SrcList->count() > 0;
    const bool dstHasItems = DstList->count() > 0;
    IncludeBtn->setEnabled(srcHasItems);
    IncAllBtn->setEnabled(srcHasItems);
    ExcludeBtn->setEnabled(dstHasItems);
    ExAllBtn->setEnabled(dstHasItems);
}

int DualListDialog::GetFirstSelection(QListWidget* list) {
    for (int row = 0; row < list->count(); ++row) {
        if (list->item(row)->isSelected()) return row;
    }
    return -1;
}

void DualListDialog::SetItem(QListWidget* list, int index) {
    list->setFocus();
    if (list->count() > 0) {
        const int last = list->count() - 1;
        const int row = index < 0 ? 0 : (index > last ? last : index);
        list->item(row)->setSelected(true);
        list->setCurrentRow(row, QItemSelectionModel::NoUpdate);
    }
    SetButtons();
}

void DualListDialog::IncludeBtnClick() {
    const int index = GetFirstSelection(SrcList);
    MoveSelected(SrcList, DstList);
    SetItem(SrcList, index);
}

void DualListDialog::ExcludeBtnClick() {
    const int index = GetFirstSelection(DstList);
    MoveSelected(DstList, SrcList);
    SetItem(DstList, index);
}

void DualListDialog::MoveAll(QListWidget* from, QListWidget* to) {
    while (from->count() > 0) to->addItem(from->takeItem(0));
    SetItem(from, 0);
}

void DualListDialog::IncAllBtnClick() { MoveAll(SrcList, DstList); }

void DualListDialog::ExcAllBtnClick() { MoveAll(DstList, SrcList); }

}  // namespace ui
