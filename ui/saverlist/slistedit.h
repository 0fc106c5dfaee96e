#pragma once
// "Editer la liste de webcams de l'économiseur d'écran...": which webcams of webcams.def are on
// the screen saver's list. The left list holds the webcams on it, the right one the others.
// Both programs carry it: the main program's in French, dropping I/O errors; the screen
// saver's in English, raising them.

#include "ui/saverlist/dual_list_dialog.h"
#include "ui/saverlist/saver_list_file.h"

#include "engine/webcam_records.h"

#include <string>
#include <vector>

class QFrame;
class QLabel;

namespace ui {

class Tslistedit : public DualListDialog {
    Q_OBJECT
public:
    enum class Program { Ovl, OvlSaver };
    explicit Tslistedit(Program program, QWidget* parent = nullptr);

    // Lists the records of folder + "webcams.def" (folder is the data folder); ShowNote false
    // hides the note. On OK rewrites the InSaverList byte of the records moved to the other
    // list, puts them into changes when given (so the caller can update the webcams it holds)
    // and returns true. Without the file it shows the "no webcams" message and returns false.
    // The screen saver's editor raises std::system_error on an I/O error.
    bool EditList(const std::string& folder, bool ShowNote, std::vector<SaverListChange>* changes = nullptr);

private:
    void AddRecordItem(int recordNumber);
    std::vector<SaverListChoice> Choices() const;

    Program program_;
    QFrame* Bevel1;
    QLabel* StaticText1;
    std::vector<engine::tsdo> records_;  // the items' record copies, by record number
};

// The main program's editor and the screen saver's, each made on first use.
Tslistedit& slistedit();
Tslistedit& saverslistedit();

}  // namespace ui
