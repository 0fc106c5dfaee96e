#include "ui/web/wclistman.h"

#include "engine/categories.h"
#include "engine/list_import.h"
#include "platform/qt/prompts.h"
#include "platform/termination_request.h"
#include "ui/dialogs/category_box.h"
#include "ui/dialogs/dialog_controls.h"
#include "ui/dialogs/dialog_instance.h"
#include "ui/dialogs/record_text.h"
#include "ui/forms/loadprog.h"
#include "ui/web/list_files.h"
#include "ui/web/list_reading.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <system_error>

namespace ui {
namespace {

constexpr int kMsgEmptyList = 65291;
constexpr int kMsgTotal = 65292;
constexpr int kMsgSelectSeveral = 65293;
constexpr int kMsgNothingToAdd = 65265;
constexpr int kMsgAdded = 65294;
constexpr int kMsgAddedWithDuplicates = 65295;
constexpr int kMsgDuplicates = 65264;
constexpr int kEntryRole = Qt::UserRole;
// Lines the list box takes in one step of its fill.
constexpr std::size_t kFillStep = 2000;

QString OpenFilter() {
    return QStringLiteral("Text files (*.txt);;All files (*.*);;Webcam list (*.dat);;Webcam list (*.jcc);;"
                          "Webcam list (*.lgs)");
}

QPushButton* AddButton(QWidget* parent, QBoxLayout* layout, const char* name, const QString& caption) {
    auto* button = Named<QPushButton>(parent, name, caption);
    button->setAutoDefault(false);
    layout->addWidget(button);
    return button;
}

}  // namespace

Twclistman::Twclistman(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("wclistman"));
    setWindowTitle(QStringLiteral("Gestionnaire de liste webcams"));
    resize(403, 418);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Liste actuelle :"), this));
    auto* listRow = new QHBoxLayout;
    ComboBox2 = Named<QComboBox>(this, "ComboBox2");
    ComboBox2->setToolTip(
        QStringLiteral("Voici les listes actuelles. Pour ajouter la votre, cliquez sur parcourrir."));
    ComboBox2->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    listRow->addWidget(ComboBox2, 1);
    connect(AddButton(this, listRow, "Button1", QStringLiteral("Ouvrir...")), &QPushButton::clicked, this,
            &Twclistman::Button1Click);
    layout->addLayout(listRow);
    connect(ComboBox2, &QComboBox::activated, this, &Twclistman::ComboBox2Change);
    Label3 = Named<QLabel>(this, "Label3", QStringLiteral("Total de webcams installés : XXX"));
    layout->addWidget(Label3);
    layout->addWidget(new QLabel(QStringLiteral("Caméras par catégories :"), this));
    ComboBox1 = Named<QComboBox>(this, "ComboBox1");
    connect(ComboBox1, &QComboBox::currentIndexChanged, this, &Twclistman::FillWebcamList);
    layout->addWidget(ComboBox1);
    ListBox1 = Named<QListWidget>(this, "ListBox1");
    ListBox1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListBox1->setUniformItemSizes(true);  // no size measured per line of a long list
    layout->addWidget(ListBox1, 1);
    auto* buttons = new QHBoxLayout;
    connect(AddButton(this, buttons, "Button4", QStringLiteral("Options")), &QPushButton::clicked, this, [this] {
        if (options_) options_();
    });
    connect(AddButton(this, buttons, "Button2", QStringLiteral("Ajouter la sélection")), &QPushButton::clicked, this,
            &Twclistman::Button2Click);
    connect(AddButton(this, buttons, "Button3", QStringLiteral("Rajouter toutes les webcams")), &QPushButton::clicked,
            this, &Twclistman::Button3Click);
    connect(AddButton(this, buttons, "OKBtn", QStringLiteral("Quitter")), &QPushButton::clicked, this,
            &QDialog::accept);
    layout->addLayout(buttons);
}

bool Twclistman::Execute(engine::twebcammanager& manager, engine::TConfigRec& config,
                         const AutoCreateSettings& settings, std::function<void()> options,
                         const std::string& programFolder) {
    Manager = &manager;
    ConfigCopy = config;
    settings_ = &settings;
    options_ = std::move(options);
    programFolder_ = programFolder;
    WebcamsAdded = false;
    ComboBox2->clear();
    ComboBox2->addItems(ReadDownloadedLines(programFolder_));
    CurrentList = FromRecord(config.ListFile.view());
    if (ComboBox2->count() == 0 && !CurrentList.isEmpty()) ComboBox2->addItem(CurrentList);
    if (!CurrentList.isEmpty()) {
        for (int i = 0; i < ComboBox2->count(); ++i)
            if (ComboBox2->itemText(i).contains(CurrentList)) ComboBox2->setCurrentIndex(i);
    } else if (ComboBox2->count() > 0) {
        // The list the box shows is the one loaded, not an empty one.
        ComboBox2->setCurrentIndex(0);
        CurrentList = ListPathOfLine(ComboBox2->currentText(), QString::fromStdString(programFolder_));
    }
    if (ComboBox1->count() == 0) FillCategories();
    LoadListFile();
    FillWebcamList();
    exec();
    ++Fill;
    Shown.clear();
    ListBox1->clear();
    Entries.clear();
    config.ListFile = ToRecord(CurrentList);
    Manager = nullptr;
    settings_ = nullptr;
    return WebcamsAdded;
}

void Twclistman::FillCategories() {
    FillCategoryBox(*ComboBox1, [](int slot) {
        return engine::CategoryManager ? engine::CategoryManager->FNames[slot] : std::string();
    });
}

void Twclistman::LoadListFile() {
    Entries.clear();
    if (!CurrentList.isEmpty()) {
        try {
            ReadWebcamList(Entries, CurrentList.toStdString(), engine::ImportWebcamList);
        } catch (const std::system_error&) {
            Entries.clear();  // a list that cannot be read shows as an empty one
        }
    }
    if (Entries.empty()) platform::CurrentPrompts().Message(Message(kMsgEmptyList));
    Label3->setText(Message(kMsgTotal) + QString::number(Entries.size()));
}

void Twclistman::FillWebcamList() {
    const unsigned fill = ++Fill;
    ListBox1->clear();
    Shown.clear();
    ShownAdded = 0;
    const int category = ComboBox1->currentData().toInt();
    for (std::size_t i = 0; i < Entries.size(); ++i) {
        const engine::TWebcamDefRec& rec = Entries[i].FRec;
        if (category != 0 && rec.Categories[category] == 0) continue;
        Shown.emplace_back(FromRecord(rec.Description.empty() ? rec.PictureURL.view() : rec.Description.view()),
                           static_cast<int>(i));
    }
    SortListTexts(Shown);  // the box is sorted as "downloaded.txt" is
    FillStep(fill);
}

void Twclistman::FillStep(unsigned fill) {
    if (fill != Fill) return;
    const std::size_t end = std::min(Shown.size(), ShownAdded + kFillStep);
    for (; ShownAdded < end; ++ShownAdded) {
        auto* item = new QListWidgetItem(Shown[ShownAdded].first);
        item->setData(kEntryRole, Shown[ShownAdded].second);
        ListBox1->addItem(item);
    }
    if (ShownAdded < Shown.size()) QTimer::singleShot(0, this, [this, fill] { FillStep(fill); });
}

void Twclistman::SetCurrentList(const QString& path) {
    CurrentList = path;
    LoadListFile();
    FillWebcamList();
    ConfigCopy.ListFile = ToRecord(CurrentList);
}

void Twclistman::ComboBox2Change() { SetCurrentList(ListPathOfLine(ComboBox2->currentText(), QString::fromStdString(programFolder_))); }

void Twclistman::Button1Click() {
    const QString file = platform::CurrentPrompts().OpenFileName(
        QStringLiteral("Sélectionner le fichier qui contient la liste des caméras"), QString(), OpenFilter());
    if (file.isEmpty()) return;
    ComboBox2->addItem(file);
    ComboBox2->setCurrentIndex(ComboBox2->count() - 1);
    CurrentList = file;
    LoadListFile();
    FillWebcamList();
    QStringList lines;
    for (int i = 0; i < ComboBox2->count(); ++i) lines.append(ComboBox2->itemText(i));
    try {
        WriteDownloadedLines(programFolder_, lines);
    } catch (const std::system_error& e) {
        platform::CurrentPrompts().Message(QString::fromStdString(e.what()), platform::Prompts::Icon::Error);
    }
}

void Twclistman::Button2Click() {
    std::vector<int> entries;
    for (int row = 0; row < ListBox1->count(); ++row)
        if (ListBox1->item(row)->isSelected()) entries.push_back(ListBox1->item(row)->data(kEntryRole).toInt());
    if (entries.empty()) {
        platform::CurrentPrompts().Message(Message(kMsgSelectSeveral));
        return;
    }
    AddEntries(entries);
}

// Every line of the category, also those the list box does not show yet.
void Twclistman::Button3Click() {
    std::vector<int> entries;
    entries.reserve(Shown.size());
    for (const auto& line : Shown) entries.push_back(line.second);
    if (entries.empty()) {
        platform::CurrentPrompts().Message(Message(kMsgNothingToAdd));
        return;
    }
    AddEntries(entries);
}

void Twclistman::AddEntries(const std::vector<int>& entries) {
    Cancelled = false;
    Tloadprog& progress = loadprog();
    progress.OnCancel = [this] { Cancelled = true; };
    progress.SetProgress(0, static_cast<int>(entries.size()));
    // Modal while the loop runs: the events it processes then reach no control that would change
    // the list being added.
    progress.setWindowModality(Qt::ApplicationModal);
    progress.show();
    int added = 0, duplicates = 0, done = 0;
    for (int entry : entries) {
        if (AddListEntry(*Manager, Entries[static_cast<std::size_t>(entry)], *settings_) >= 0) ++added;
        else ++duplicates;
        progress.SetProgress(++done, static_cast<int>(entries.size()));
        QCoreApplication::processEvents();
        WebcamsAdded = true;
        if (Cancelled || platform::TerminationRequested()) break;
    }
    progress.OnCancel = nullptr;
    progress.hide();
    progress.setWindowModality(Qt::NonModal);
    // A blank between each count and its words, which the texts do not hold.
    const QString report = duplicates == 0 ? QString::number(added) + u' ' + Message(kMsgAdded)
                                           : QString::number(added) + u' ' + Message(kMsgAddedWithDuplicates) +
                                                 u' ' + QString::number(duplicates) + u' ' + Message(kMsgDuplicates);
    platform::CurrentPrompts().Message(report);
}

Twclistman& wclistman() { return DialogInstance<Twclistman>::Get(); }

}  // namespace ui
