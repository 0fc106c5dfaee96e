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
#include <utility>
#include <vector>

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
    // Shows the entries of the chosen category, sorted by their text: the first lines at once,
    // the rest a step at a time from the event loop, so a long list never freezes the window.
    void FillWebcamList();
    void FillStep(unsigned fill);
    void FillCategories();
    void ComboBox2Change();
    void Button1Click();  // "Ouvrir..."
    void Button2Click();  // "Ajouter la sélection"
    void Button3Click();  // "Rajouter toutes les webcams"
    // Adds these entries (positions in Entries), with the progress form, and reports.
    void AddEntries(const std::vector<int>& entries);
    void SetCurrentList(const QString& path);

    QComboBox* ComboBox2;
    QLabel* Label3;
    QComboBox* ComboBox1;
    QListWidget* ListBox1;
    engine::twebcamstaticlist Entries;
    std::vector<std::pair<QString, int>> Shown;  // the list box's lines to be: text, entry
    std::size_t ShownAdded = 0;                 // how many of them the list box holds
    unsigned Fill = 0;                           // counts the fills: a step of an older one ends
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
