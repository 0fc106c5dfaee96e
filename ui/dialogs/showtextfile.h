#pragma once
// The text viewer ("Montrer les en-têtes"): shows a text file's lines, saves them elsewhere,
// copies them to the clipboard and reads the file again.

#include <QDialog>

#include <string>
#include <vector>

class QFileDialog;
class QKeyEvent;
class QListWidget;

namespace ui {

class Tshowtextfile : public QDialog {
    Q_OBJECT
public:
    explicit Tshowtextfile(QWidget* parent = nullptr);

    // Shows fileName's lines modally under caption; the list is emptied when it closes. A file
    // that cannot be read shows no lines.
    void ShowFile(const std::string& fileName, const QString& caption);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private slots:
    void Button2Click();  // "Enregistrer..."
    void Button3Click();  // "Copier"
    void Button4Click();  // "Actualiser"

private:
    void LoadLines();

    QListWidget* ListBox1;
    QFileDialog* SaveDialog1;
    std::string fileName_;
    std::vector<std::string> lines_;  // as the file holds them (Windows-1252)
};

Tshowtextfile& showtextfile();

// A text's lines, split at CR LF, CR or LF; a line end at the very end starts no further line.
std::vector<std::string> SplitLines(const std::string& text);

}  // namespace ui
