#include "ui/saverlist/slistedit.h"

#include "engine/definition_files.h"
#include "engine/messages.h"
#include "platform/cp1252.h"
#include "ui/dialogs/dialog_controls.h"  // Named (a header-only template)
#include "ui/dialogs/dialog_instance.h"

#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QVBoxLayout>

#include <filesystem>

namespace ui {
namespace {

constexpr int kMsgNoWebcams = 65186;
constexpr int kRecordRole = Qt::UserRole;

struct ProgramTexts {
    DualListTexts lists;
    QString note;
    QString noWebcams;
    QString boxTitle;
};

ProgramTexts TextsOf(Tslistedit::Program program) {
    if (program == Tslistedit::Program::OvlSaver) {
        return {{QStringLiteral("Edit Screensaver Webcam List"), QStringLiteral("Current Screensaver List :"),
                 QStringLiteral("Available Webcams :"), QStringLiteral("OK"), QStringLiteral("Cancel")},
                QStringLiteral(" Note : You can also edit the screensaver webcam  list from within Orvello "),
                QStringLiteral("There are no webcams currently defined. Run Orvello to define some."),
                QStringLiteral("Orvello Screen Saver")};
    }
    return {{QStringLiteral("Editer la liste de webcams de l'économiseur d'écran..."),
             QStringLiteral("Liste actuelle de l'économiseur d'écran"), QStringLiteral("WebCams disponibles"),
             QStringLiteral("Ok"), QStringLiteral("Annuler")},
            QStringLiteral(
                "Notez que vous pouvez églament définir les webcams de l'économiseur d'écran depuis Orvello"),
            QString::fromStdString(engine::LoadMessage(kMsgNoWebcams)),
            QStringLiteral("Orvello")};
}

IoErrors IoErrorsOf(Tslistedit::Program program) {
    return program == Tslistedit::Program::OvlSaver ? IoErrors::Raise : IoErrors::Ignore;
}

std::string DefPath(const std::string& folder) {
    const bool endsInSlash = !folder.empty() && folder.back() == '/';
    return folder + (endsInSlash ? "" : "/") + engine::kWebcamsDef;
}

struct OvlListEditor : Tslistedit {
    OvlListEditor() : Tslistedit(Program::Ovl) {}
};
struct SaverListEditor : Tslistedit {
    SaverListEditor() : Tslistedit(Program::OvlSaver) {}
};

}  // namespace

Tslistedit::Tslistedit(Program program, QWidget* parent)
    : DualListDialog("slistedit", TextsOf(program).lists, parent), program_(program) {
    Bevel1 = Named<QFrame>(this, "Bevel1");
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setFrameShadow(QFrame::Sunken);
    StaticText1 = Named<QLabel>(this, "StaticText1", TextsOf(program).note);
    StaticText1->setWordWrap(true);
    extras()->addWidget(Bevel1);
    extras()->addWidget(StaticText1);
    resize(520, 320);
}

bool Tslistedit::EditList(const std::string& folder, bool ShowNote, std::vector<SaverListChange>* changes) {
    const ProgramTexts texts = TextsOf(program_);
    const std::string path = DefPath(folder);
    std::error_code ec;
    if (folder.size() < 2 || !std::filesystem::exists(path, ec)) {
        QMessageBox::information(this, texts.boxTitle, texts.noWebcams);
        return false;
    }
    StaticText1->setVisible(ShowNote);
    ClearLists();
    records_ = ReadSaverListRecords(path, IoErrorsOf(program_));
    for (int n = 0; n < static_cast<int>(records_.size()); ++n) AddRecordItem(n);
    SetButtons();
    const bool confirmed = exec() == QDialog::Accepted;
    std::vector<SaverListChoice> choices = confirmed ? Choices() : std::vector<SaverListChoice>{};
    ClearLists();
    records_.clear();
    if (!confirmed) return false;

    std::vector<SaverListChange> written = WriteSaverListFlags(path, choices, IoErrorsOf(program_));
    if (changes) *changes = std::move(written);
    return true;
}

void Tslistedit::AddRecordItem(int recordNumber) {
    const engine::TWebcamDefRec& rec = records_[static_cast<std::size_t>(recordNumber)].FRec;
    const std::string_view shown = rec.Description.empty() ? rec.PictureURL.view() : rec.Description.view();
    auto* item = new QListWidgetItem(QString::fromStdString(platform::Cp1252ToUtf8(shown)));
    item->setData(kRecordRole, recordNumber);
    (rec.InSaverList != 0 ? SrcList : DstList)->addItem(item);
}

std::vector<SaverListChoice> Tslistedit::Choices() const {
    std::vector<SaverListChoice> choices(records_.size());
    for (QListWidget* list : {SrcList, DstList}) {
        for (int row = 0; row < list->count(); ++row) {
            const int n = list->item(row)->data(kRecordRole).toInt();
            choices[static_cast<std::size_t>(n)] = {n, records_[static_cast<std::size_t>(n)].FRec.PictureURL.str(),
                                                    list == SrcList};
        }
    }
    return choices;
}

Tslistedit& slistedit() { return DialogInstance<OvlListEditor>::Get(); }

Tslistedit& saverslistedit() { return DialogInstance<SaverListEditor>::Get(); }

}  // namespace ui
