#pragma once
// Small builders shared by the dialogs: a control made with its form name, a labelled spin
// edit, and the "Ok" / "Annuler" row.

#include <QString>

#include <utility>

class QBoxLayout;
class QDialog;
class QFormLayout;
class QLineEdit;
class QSpinBox;
class QWidget;

namespace ui {

// A control made with the caption or other constructor arguments given and its form name as
// objectName, owned by parent.
template <typename Control, typename... Args>
Control* Named(QWidget* parent, const char* name, Args&&... args) {
    auto* control = new Control(std::forward<Args>(args)..., parent);
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

// A spin edit with its range, added to layout between a leading and a trailing caption.
QSpinBox* AddSpinEdit(QWidget* parent, QBoxLayout* layout, const char* name, const QString& before,
                      int min, int max, const QString& after = {});

// A line edit for a record string (at most 255 characters), added to form under caption.
QLineEdit* AddRecordEdit(QWidget* parent, QFormLayout* form, const char* name, const QString& caption);

// The message-table text of number, and a plain message box showing it.
QString Message(int number);
void ShowMessage(QWidget* parent, int number);

// Adds a line with "Ok" (OKBtn, accepts) and, when wanted, "Annuler" (CancelBtn, rejects).
void AddOkCancel(QDialog* dialog, QBoxLayout* layout, bool withCancel = true);

}  // namespace ui
