#pragma once
// "Gestionnaire de liste webcams": opens a list file (a downloaded one, or any file in the
// program's own or a foreign list format), shows its webcams by category and adds the
// selected ones, or all, to the webcam manager with the automatic-creation settings.

#include "engine/settings_records.h"
#include "engine/static_object.h"
#include "ui/web/list_entry.h"

#include <QDialog>
#include <QString>

#include <functional>
#include <string>

class QComboBox;
class QLabel;
class QListWidget;

namespace engine {
class twebcammanager;
}

namespace ui {

class Twclistman : public QDialog {
    Q_OBJECT
public:
    explicit Twclistman(QWidget* parent = nullptr);

    // Shows the lists known in programFolder's "downloaded.txt" and the one config's ListFile
    // names; webcams are added to manager with settings; "Options" runs options. Afterwards
    // config's ListFile holds the list shown last. True when webcams were added.
    bool Execute(engine::twebcammanager& manager, engine::TConfigRec& config, const AutoCreateSettings& settings,
                 std::function<void()> options, const std::string& programFolder);

private:
    void LoadListFile();
    void FillWebcamList();
    void FillCategories();
    void ComboBox2Change();
    void Button1Click();  // "Ouvrir..."
    void Button2Click();  // "Ajouter la sélection"
    void Button3Click();  // "Rajouter toutes les webcams"
    // Adds the entries of these lines of the list box, with the progress form, and reports.
    void AddLines(const std::vector<int>& rows);
    void SetCurrentList(const QString& path);

    QComboBox* ComboBox2;
    QLabel* Label3;
    QComboBox* ComboBox1;
    QListWidget* ListBox1;
    engine::twebcamstaticlist Entries;
    QString CurrentList;
    engine::twebcammanager* Manager = nullptr;
    engine::TConfigRec ConfigCopy{};
    const AutoCreateSettings* settings_ = nullptr;
    std::function<void()> options_;
    std::string programFolder_;
    bool WebcamsAdded = false;
    bool Cancelled = false;
};

Twclistman& wclistman();

}  // namespace ui
