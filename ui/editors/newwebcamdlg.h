#pragma once
// "Créer une nouvelle webcam" / "Editer WebCam": the fields of a webcam's two records, its
// categories and its extra request lines, with the checks of its name, file prefix and refresh.

#include "engine/webcam_records.h"

#include <QDialog>
#include <QString>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace ui {

class SaveModeRadios;

// The end of the refusal of a name that cannot be a folder name; the message table has no text
// for it, so it follows the table's "Impossible de ..." beginnings (65280, 65282) and the name.
inline const QString kNotAFolderName = QStringLiteral("\" - Ce nom ne peut pas servir de nom de répertoire.");

// Request lines the user confirmed in "Avancée...", for the webcam's "addhead.txt".
using HeaderLines = std::optional<std::vector<std::string>>;

class Tnewwebcamdlg : public QDialog {
    Q_OBJECT
public:
    explicit Tnewwebcamdlg(QWidget* parent = nullptr);
    ~Tnewwebcamdlg() override;

    // Shows rec and rec2 modally (dataFolder: the manager's data folder, ending in '/'). OK is
    // refused while the name is not a safe folder name, or names an existing folder when
    // creating or renaming. On OK writes both records and returns true; a refresh that is not
    // a whole number keeps its value (with a message), a negative one becomes 0. When headerLines
    // is given it receives the lines confirmed in "Avancée..." (nothing when they were not
    // edited): the dialog writes no file, the caller stores them once the webcam has its folder
    // under its final name, so another webcam's file is never touched.
    bool Execute(engine::TWebcamDefRec& rec, engine::TWebcamDef1Rec& rec2, bool isNew, const std::string& dataFolder,
                 HeaderLines* headerLines = nullptr);

    void accept() override;  // the name check of OK

private slots:
    void CheckBox4Click();     // "Video Live :"
    void Edit11Change();       // "Préfixe fichier"
    void Button1Click();       // "Editer les catégories..."
    void Button2Click();       // "Avancée..."

private:
    void ShowRecords(const engine::TWebcamDef1Rec& rec2);
    void TakeRecords(engine::TWebcamDef1Rec& rec2);
    bool NameRefused();

    engine::TWebcamDefRec WorkRecord;
    bool IsNew = false;
    QString OriginalName;
    std::string dataFolder_;
    HeaderLines headerLines_;

    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QLineEdit* Edit11;
    QLineEdit* Edit4;
    QLineEdit* Edit10;
    QComboBox* ComboBox1;
    QLineEdit* Edit3;
    QLineEdit* Edit8;
    QLineEdit* Edit9;
    QLineEdit* Edit6;
    QLabel* RefreshLabel;
    QLabel* SecondsLabel;
    QCheckBox* CheckBox3;
    QCheckBox* CheckBox5;
    QCheckBox* CheckBox4;
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox2;
    QLineEdit* Edit7;
    QLineEdit* Edit5;
    std::unique_ptr<SaveModeRadios> saveMode_;
};

Tnewwebcamdlg& newwebcamdlg();

}  // namespace ui
