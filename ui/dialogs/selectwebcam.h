#pragma once
// "Sélectionner une webcam": finds webcams by category or by a text in their address or
// description; one line confirmed becomes the webcam to show, marked lines become the selection.

#include "engine/webcam_records.h"

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

class QComboBox;
class QLineEdit;
class QListWidget;

namespace ui {

// What the chooser needs of the webcam list; the main window answers for its manager.
class WebcamChooserSource {
public:
    virtual ~WebcamChooserSource() = default;
    virtual int WebcamCount() const = 0;
    // The webcam at a 0-based position of the manager's order, and its record number.
    virtual const engine::TWebcamDefRec& WebcamRecord(int position) const = 0;
    virtual int WebcamRecordNo(int position) const = 0;
    // The name of category slot 1..57 (UTF-8).
    virtual std::string CategoryName(int slot) const = 0;
    // Clears the selection, marks exactly these webcams (1-based) selected and shows the
    // selected webcams in the grid.
    virtual void ShowOnlySelected(const std::vector<int>& webcams) = 0;
};

class Tselectwebcam : public QDialog {
    Q_OBJECT
public:
    explicit Tselectwebcam(QWidget* parent = nullptr);

    // Shows the webcams modally. OK with one line picked (marked, else current) returns true
    // with index := its webcam (1-based); when several lines are marked, those become the
    // selection, index is 0 and the result true. OK with neither, or Cancel, returns false
    // with index 0. Enter in the search box searches.
    bool Execute(WebcamChooserSource& source, int& index);

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private slots:
    void ComboBox1Change();
    void Button1Click();  // "Rechercher "
    void Button2Click();  // "TOUT1"

private:
    void FillCategories();
    // Lists, in the manager's order, the webcams whose record passes.
    void Refill(const std::function<bool(const engine::TWebcamDefRec&)>& passes);

    QComboBox* ComboBox1;
    QLineEdit* Edit1;
    QListWidget* ListBox1;
    WebcamChooserSource* source_ = nullptr;
    std::vector<int> recordNos_;  // the record number of each line
};

Tselectwebcam& selectwebcam();

}  // namespace ui
