#include "ui/dialogs/selectwebcam.h"

#include "ui/dialogs/category_box.h"
#include "ui/dialogs/dialog_controls.h"
#include "ui/dialogs/dialog_instance.h"
#include "ui/dialogs/record_text.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>

namespace ui {

namespace {
constexpr int kMsgEnterSearchText = 65289;
}  // namespace

Tselectwebcam::Tselectwebcam(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("selectwebcam"));
    setWindowTitle(QStringLiteral("Sélectionner une webcam"));
    resize(420, 440);
    auto* layout = new QVBoxLayout(this);
    auto* categoryRow = new QHBoxLayout;
    categoryRow->addWidget(new QLabel(QStringLiteral("Choisir entre :"), this));
    ComboBox1 = Named<QComboBox>(this, "ComboBox1");
    categoryRow->addWidget(ComboBox1, 1);
    layout->addLayout(categoryRow);
    connect(ComboBox1, &QComboBox::currentIndexChanged, this, &Tselectwebcam::ComboBox1Change);

    auto* searchRow = new QHBoxLayout;
    Edit1 = Named<QLineEdit>(this, "Edit1");
    auto* search = Named<QPushButton>(this, "Button1", QStringLiteral("Rechercher "));
    search->setAutoDefault(false);
    connect(search, &QPushButton::clicked, this, &Tselectwebcam::Button1Click);
    searchRow->addWidget(Edit1, 1);
    searchRow->addWidget(search);
    layout->addLayout(searchRow);

    ListBox1 = Named<QListWidget>(this, "ListBox1");
    ListBox1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    layout->addWidget(ListBox1, 1);

    auto* all = Named<QPushButton>(this, "Button2", QStringLiteral("TOUT1"));
    all->setAutoDefault(false);
    connect(all, &QPushButton::clicked, this, &Tselectwebcam::Button2Click);
    layout->addWidget(all, 0, Qt::AlignLeft);
    AddOkCancel(this, layout);
}

bool Tselectwebcam::Execute(WebcamChooserSource& source, int& index) {
    source_ = &source;
    index = 0;
    if (ComboBox1->count() == 0) FillCategories();
    ComboBox1Change();
    const bool accepted = exec() == QDialog::Accepted;
    // A click marks the line it makes current: one marked line is a pick, only several make
    // the selection that the grid then shows.
    const QList<QListWidgetItem*> marked = ListBox1->selectedItems();
    bool chosen = false;
    if (accepted && marked.size() > 1) {
        std::vector<int> webcams;
        for (int row = 0; row < ListBox1->count(); ++row) {
            if (ListBox1->item(row)->isSelected()) webcams.push_back(recordNos_[row] + 1);
        }
        chosen = true;
        source.ShowOnlySelected(webcams);
    } else if (accepted) {
        const int row = marked.size() == 1 ? ListBox1->row(marked.front()) : ListBox1->currentRow();
        if (row >= 0) {
            index = recordNos_[row] + 1;
            chosen = true;
        }
    }
    ListBox1->clear();
    recordNos_.clear();
    source_ = nullptr;
    return chosen;
}

void Tselectwebcam::FillCategories() {
    FillCategoryBox(*ComboBox1, [this](int slot) { return source_->CategoryName(slot); });
}

void Tselectwebcam::Refill(const std::function<bool(const engine::TWebcamDefRec&)>& passes) {
    ListBox1->clear();
    recordNos_.clear();
    for (int position = 0; position < source_->WebcamCount(); ++position) {
        const engine::TWebcamDefRec& rec = source_->WebcamRecord(position);
        if (!passes(rec)) continue;
        ListBox1->addItem(FromRecord(rec.Description.empty() ? rec.PictureURL.view() : rec.Description.view()));
        recordNos_.push_back(source_->WebcamRecordNo(position));
    }
}

void Tselectwebcam::ComboBox1Change() {
    if (!source_) return;
    const int category = ComboBox1->currentData().toInt();
    Refill([category](const engine::TWebcamDefRec& rec) { return category == 0 || rec.Categories[category] != 0; });
}

void Tselectwebcam::Button1Click() {
    const QString wanted = Edit1->text().toUpper();
    if (wanted.isEmpty()) {
        ShowMessage(this, kMsgEnterSearchText);
        return;
    }
    Refill([&wanted](const engine::TWebcamDefRec& rec) {
        return FromRecord(rec.PictureURL.view()).toUpper().contains(wanted) ||
               FromRecord(rec.Description.view()).toUpper().contains(wanted);
    });
}

void Tselectwebcam::Button2Click() { ListBox1->selectAll(); }

// Enter in the search box searches; elsewhere it confirms the dialog.
void Tselectwebcam::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && focusWidget() == Edit1) {
        Button1Click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void Tselectwebcam::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Edit1->setFocus();
}

Tselectwebcam& selectwebcam() { return DialogInstance<Tselectwebcam>::Get(); }

}  // namespace ui
