#include "ui/editors/newwebcamdlg.h"

#include "platform/safe_name.h"
#include "ui/dialogs/dialog_controls.h"
#include "ui/dialogs/dialog_instance.h"
#include "ui/dialogs/record_text.h"
#include "ui/dialogs/save_mode_radios.h"
#include "ui/editors/addheadedit.h"
#include "ui/editors/catedit.h"
#include "ui/editors/country_list.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>
#include <string_view>

namespace ui {
namespace {

constexpr int kMsgCannotCreate = 65280;     // "Impossible de créer une webcam appelée \""
constexpr int kMsgAlreadyExists = 65281;    // "\" - Cet élément est déjà existant."
constexpr int kMsgCannotRename = 65282;     // "Impossible de changer le nom en \""
constexpr int kMsgNoDigits = 65283;
constexpr int kMsgNewCaption = 65309;
constexpr int kMsgEditCaption = 65310;
constexpr int kMsgNotANumber = 65311;       // "n'est pas un nombre"

// The name without the leading and trailing characters below code 33, as it is first shown.
std::string_view TrimControls(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) < 33) text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) < 33) text.remove_suffix(1);
    return text;
}

void SetRecordText(engine::String255& field, const QString& text) { field.assign(ToRecord(text)); }

bool PathExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::symlink_status(path, ec));
}

}  // namespace

Tnewwebcamdlg::Tnewwebcamdlg(QWidget* parent)
    : QDialog(parent), WorkRecord(engine::ZeroRecord<engine::TWebcamDefRec>()) {
    setObjectName(QStringLiteral("newwebcamdlg"));
    setWindowTitle(Message(kMsgNewCaption));
    auto* layout = new QVBoxLayout(this);
    auto* columns = new QHBoxLayout;
    layout->addLayout(columns);

    auto* form = new QFormLayout;
    columns->addLayout(form, 3);
    Edit1 = AddRecordEdit(this, form, "Edit1", QStringLiteral("Adresse de l'image :"));
    Edit1->setToolTip(QStringLiteral("Adresse pointant sur une image webcam"));
    Edit2 = AddRecordEdit(this, form, "Edit2", QStringLiteral("Nom de la Camera :"));
    Edit11 = AddRecordEdit(this, form, "Edit11", QStringLiteral("Préfixe fichier"));
    connect(Edit11, &QLineEdit::textEdited, this, &Tnewwebcamdlg::Edit11Change);
    Edit4 = AddRecordEdit(this, form, "Edit4", QStringLiteral("Description :"));
    Edit4->setToolTip(QStringLiteral("Description de la WebCam"));
    Edit10 = AddRecordEdit(this, form, "Edit10", QStringLiteral("Emplacement :"));
    Edit10->setToolTip(QStringLiteral("Emplacement géographique de la webcam (ex : New York, Paris)"));
    ComboBox1 = Named<QComboBox>(this, "ComboBox1");
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->addItems(CountryList());
    ComboBox1->lineEdit()->setMaxLength(255);
    form->addRow(QStringLiteral("Pays:"), ComboBox1);
    Edit3 = AddRecordEdit(this, form, "Edit3", QStringLiteral("Page d'accueil :"));
    Edit3->setToolTip(QStringLiteral("Ce champ est envoyé comme \"référent\""));
    Edit8 = AddRecordEdit(this, form, "Edit8", QStringLiteral("Adresse web Météo"));
    Edit8->setToolTip(QStringLiteral("Adresse special pour la météo de cette webcam"));
    Edit9 = AddRecordEdit(this, form, "Edit9", QStringLiteral("URL géographique :"));
    Edit9->setToolTip(QStringLiteral("Carte spécifique pour cette webcam"));

    auto* right = new QVBoxLayout;
    columns->addLayout(right, 2);
    auto* refreshRow = new QHBoxLayout;
    RefreshLabel = Named<QLabel>(this, "RefreshLabel", QStringLiteral("Actualiser toutes les :"));
    Edit6 = Named<QLineEdit>(this, "Edit6");
    Edit6->setMaximumWidth(70);
    SecondsLabel = Named<QLabel>(this, "SecondsLabel", QStringLiteral("secondes"));
    refreshRow->addWidget(RefreshLabel);
    refreshRow->addWidget(Edit6);
    refreshRow->addWidget(SecondsLabel);
    refreshRow->addStretch();
    right->addLayout(refreshRow);
    CheckBox3 = Named<QCheckBox>(this, "CheckBox3", QStringLiteral("Ne pas vérifier"));
    CheckBox5 = Named<QCheckBox>(this, "CheckBox5", QStringLiteral("Si modifié 'depuis'"));
    CheckBox4 = Named<QCheckBox>(this, "CheckBox4", QStringLiteral("Video Live :"));
    connect(CheckBox4, &QCheckBox::toggled, this, &Tnewwebcamdlg::CheckBox4Click);
    CheckBox1 = Named<QCheckBox>(this, "CheckBox1", QStringLiteral("Activé :"));
    for (QCheckBox* box : {CheckBox3, CheckBox5, CheckBox4, CheckBox1}) right->addWidget(box);

    auto* login = Named<QGroupBox>(this, "GroupBox1");
    auto* loginLayout = new QVBoxLayout(login);
    CheckBox2 = Named<QCheckBox>(login, "CheckBox2", QStringLiteral("Utiliser l'autentification"));
    CheckBox2->setToolTip(QStringLiteral(
        "Vérifier si l'acces a cette caméra nécessite un nom d'utilisateur et un mot de passe"));
    loginLayout->addWidget(CheckBox2);
    auto* loginForm = new QFormLayout;
    Edit7 = AddRecordEdit(login, loginForm, "Edit7", QStringLiteral("identifiant"));
    Edit5 = AddRecordEdit(login, loginForm, "Edit5", QStringLiteral("mot de passe :"));
    loginLayout->addLayout(loginForm);
    right->addWidget(login);

    auto* saving = Named<QGroupBox>(this, "GroupBox2", QStringLiteral("Enregistrements :"));
    auto* savingLayout = new QVBoxLayout(saving);
    saveMode_ = std::make_unique<SaveModeRadios>(
        saving, savingLayout,
        SaveModeNames{"RadioButton1", "RadioButton2", "RadioButton4", "RadioButton3", "SpinEdit1"});
    saving->findChild<QWidget*>(QStringLiteral("RadioButton4"))
        ->setToolTip(QStringLiteral("Enregistrer l'image seulement si un mouvement a été détecté"));
    right->addWidget(saving);
    right->addStretch();

    auto* bottom = new QHBoxLayout;
    auto* categories = Named<QPushButton>(this, "Button1", QStringLiteral("Editer les catégories..."));
    auto* advanced = Named<QPushButton>(this, "Button2", QStringLiteral("Avancée..."));
    for (QPushButton* button : {categories, advanced}) {
        button->setAutoDefault(false);
        bottom->addWidget(button);
    }
    connect(categories, &QPushButton::clicked, this, &Tnewwebcamdlg::Button1Click);
    connect(advanced, &QPushButton::clicked, this, &Tnewwebcamdlg::Button2Click);
    AddOkCancel(this, bottom);
    layout->addLayout(bottom);
}

Tnewwebcamdlg::~Tnewwebcamdlg() = default;

bool Tnewwebcamdlg::Execute(engine::TWebcamDefRec& rec, engine::TWebcamDef1Rec& rec2, bool isNew,
                            const std::string& dataFolder, HeaderLines* headerLines) {
    WorkRecord = rec;
    IsNew = isNew;
    dataFolder_ = dataFolder;
    headerLines_.reset();
    setWindowTitle(Message(isNew ? kMsgNewCaption : kMsgEditCaption));
    ShowRecords(rec2);
    Edit1->setFocus();
    if (exec() != QDialog::Accepted) return false;

    TakeRecords(rec2);
    rec = WorkRecord;
    if (headerLines) *headerLines = headerLines_;
    return true;
}

void Tnewwebcamdlg::ShowRecords(const engine::TWebcamDef1Rec& rec2) {
    const engine::TWebcamDefRec& r = WorkRecord;
    Edit1->setText(FromRecord(r.PictureURL.view()));
    OriginalName = FromRecord(TrimControls(r.Name.view()));
    Edit2->setText(OriginalName);
    Edit11->setText(FromRecord(rec2.FilePrefix.view()));
    Edit4->setText(FromRecord(r.Description.view()));
    Edit10->setText(FromRecord(rec2.PlaceName.view()));
    ComboBox1->setEditText(FromRecord(rec2.Country.view()));
    Edit3->setText(FromRecord(r.LinkURL.view()));
    Edit8->setText(FromRecord(rec2.WeatherURL.view()));
    Edit9->setText(FromRecord(rec2.MapURL.view()));
    Edit6->setText(QString::number(r.Refresh));
    CheckBox3->setChecked(rec2.NoCheck != 0);
    CheckBox5->setChecked(r.HeadCheck == 0);
    CheckBox4->setChecked(r.WebcamType == engine::kWebcamTypeStream);
    CheckBox4Click();
    CheckBox1->setChecked(r.Enabled != 0);
    CheckBox2->setChecked(r.SendLogin != 0);
    Edit7->setText(FromRecord(r.UserName.view()));
    Edit5->setText(FromRecord(r.Password.view()));
    saveMode_->Show(r.SaveMode);
}

void Tnewwebcamdlg::TakeRecords(engine::TWebcamDef1Rec& rec2) {
    SetRecordText(rec2.WeatherURL, Edit8->text());
    SetRecordText(rec2.MapURL, Edit9->text());
    SetRecordText(rec2.PlaceName, Edit10->text());
    SetRecordText(rec2.FilePrefix, Edit11->text());
    rec2.NoCheck = CheckBox3->isChecked() ? 1 : 0;
    SetRecordText(rec2.Country, ComboBox1->currentText());

    engine::TWebcamDefRec& r = WorkRecord;
    SetRecordText(r.PictureURL, Edit1->text());
    SetRecordText(r.Name, Edit2->text());
    SetRecordText(r.LinkURL, Edit3->text());
    SetRecordText(r.Description, Edit4->text());
    if (const auto refresh = WholeNumberAs<std::int32_t>(Edit6->text())) {
        r.Refresh = *refresh < 0 ? 0 : *refresh;
    } else {
        QMessageBox::warning(this, windowTitle(), Edit6->text() + Message(kMsgNotANumber));
    }
    r.Enabled = CheckBox1->isChecked() ? 1 : 0;
    r.SendLogin = CheckBox2->isChecked() ? 1 : 0;
    SetRecordText(r.UserName, Edit7->text());
    SetRecordText(r.Password, Edit5->text());
    if (const auto mode = saveMode_->Checked()) r.SaveMode = *mode;
    r.WebcamType = CheckBox4->isChecked() ? engine::kWebcamTypeStream : 1;
    r.HeadCheck = CheckBox5->isChecked() ? 0 : 1;
}

void Tnewwebcamdlg::accept() {
    if (NameRefused()) return;
    QDialog::accept();
}

bool Tnewwebcamdlg::NameRefused() {
    const QString name = Edit2->text();
    const std::string folderName = ToRecord(name);
    const QString refused = Message(IsNew ? kMsgCannotCreate : kMsgCannotRename) + name;
    // The name becomes a folder below the data folder, whether it changed or not.
    if (!platform::IsSafeFolderName(folderName)) {
        QMessageBox::warning(this, windowTitle(), refused + kNotAFolderName);
        return true;
    }
    // The folder the webcam would get: its name in UTF-8, as the engine makes it.
    const std::string folder = platform::SafeSubfolder(dataFolder_, folderName);
    const bool renamed = IsNew || name != OriginalName;
    if (renamed && PathExists(folder.substr(0, folder.size() - 1))) {
        QMessageBox::warning(this, windowTitle(), refused + Message(kMsgAlreadyExists));
        return true;
    }
    return false;
}

void Tnewwebcamdlg::CheckBox4Click() {
    const bool still = !CheckBox4->isChecked();
    for (QWidget* control : std::initializer_list<QWidget*>{Edit6, RefreshLabel, SecondsLabel, CheckBox3, CheckBox5})
        control->setEnabled(still);
}

void Tnewwebcamdlg::Edit11Change() {
    const QString text = Edit11->text();
    if (std::none_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; })) return;
    ShowMessage(this, kMsgNoDigits);
    Edit11->clear();
}

void Tnewwebcamdlg::Button1Click() { catedit().EditCategories(WorkRecord); }

void Tnewwebcamdlg::Button2Click() {
    // A new webcam has no lines yet; an edited one starts from the file of its folder, under
    // the name it had when the dialog opened, whatever name is being typed.
    std::vector<std::string> lines;
    if (headerLines_) {
        lines = *headerLines_;
    } else if (!IsNew) {
        lines = LoadHeaderLines(AddHeadPath(dataFolder_, WorkRecord.Name.view()));
    }
    if (addheadedit().Execute(lines)) headerLines_ = std::move(lines);
}

Tnewwebcamdlg& newwebcamdlg() { return DialogInstance<Tnewwebcamdlg>::Get(); }

}  // namespace ui
