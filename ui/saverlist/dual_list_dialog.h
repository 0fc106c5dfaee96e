#pragma once
// The pattern of the category and screen-saver list editors: an available list and a chosen
// list side by side, four buttons that move the selected or all items between them, and the
// OK / Cancel row. Items keep their data when they move.

#include <QDialog>
#include <QString>

class QLabel;
class QListWidget;
class QPushButton;
class QToolButton;
class QVBoxLayout;

namespace ui {

struct DualListTexts {
    QString caption;
    QString srcLabel;
    QString dstLabel;
    QString ok;
    QString cancel;
};

class DualListDialog : public QDialog {
    Q_OBJECT
protected:
    DualListDialog(const char* objectName, const DualListTexts& texts, QWidget* parent);

    // Empties both lists.
    void ClearLists();
    // Moves the selected items of list to the end of items, from the last one up.
    static void MoveSelected(QListWidget* list, QListWidget* items);
    // The move buttons are enabled exactly when the list they take from has items.
    void SetButtons();
    // The row of the first selected item of list, -1 when none is.
    static int GetFirstSelection(QListWidget* list);
    // Focuses list and selects the item at index, kept within the list.
    void SetItem(QListWidget* list, int index);

    // Where a dialog adds its own controls, between the lists and the OK / Cancel row.
    QVBoxLayout* extras() const { return extras_; }

    QPushButton* OKBtn;
    QPushButton* CancelBtn;
    QListWidget* SrcList;
    QListWidget* DstList;
    QLabel* SrcLabel;
    QLabel* DstLabel;
    QToolButton* IncludeBtn;  // ">"
    QToolButton* IncAllBtn;   // ">>"
    QToolButton* ExcludeBtn;  // "<"
    QToolButton* ExAllBtn;    // "<<"

protected slots:
    void IncludeBtnClick();
    void ExcludeBtnClick();
    void IncAllBtnClick();
    void ExcAllBtnClick();

private:
    void MoveAll(QListWidget* from, QListWidget* to);

    QVBoxLayout* extras_;
};

}  // namespace ui
