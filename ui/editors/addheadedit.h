#pragma once
// "Ajout additionnel d'en-tête HTTP": the extra request lines of a webcam, which its folder
// keeps in "addhead.txt" and every request of the webcam sends as they are.

#include <QDialog>

#include <string>
#include <string_view>
#include <vector>

class QPlainTextEdit;

namespace ui {

inline constexpr const char* kAddHeadFile = "addhead.txt";

class Taddheadedit : public QDialog {
    Q_OBJECT
public:
    explicit Taddheadedit(QWidget* parent = nullptr);

    // Shows lines (Windows-1252) modally; on OK replaces them by the box's lines and returns
    // true. Blank lines are left out: sent in a request they would end its header early.
    bool Execute(std::vector<std::string>& lines);

private slots:
    void Button1Click();  // "Effacer"

private:
    QPlainTextEdit* RichEdit1;
};

Taddheadedit& addheadedit();

// dataFolder + name + "/addhead.txt", the request-lines file of the webcam called name (record
// bytes); empty when the name is not a safe folder name.
std::string AddHeadPath(const std::string& dataFolder, std::string_view name);

// The lines of a request-lines file; none when it is missing or cannot be read.
std::vector<std::string> LoadHeaderLines(const std::string& path);

// Writes the lines, each ended by LF. On failure shows "Une erreur a été rencontrée lors de la
// création du fichier :" directly followed by the file name, and returns false.
bool SaveHeaderLines(QWidget* parent, const std::string& path, const std::vector<std::string>& lines);

}  // namespace ui
