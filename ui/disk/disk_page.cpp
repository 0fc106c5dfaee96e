#include "ui/disk/disk_page.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <filesystem>
#include <system_error>

#include "ui/controls/draw_grid1.h"
#include "ui/dialogs/dialog_controls.h"
#include "ui/grid/run_state.h"

namespace ui {
namespace {

const QString kRefresh = QStringLiteral("Actualiser");

}  // namespace

DiskPage::DiskPage(DiskPageHost& host, QWidget* parent) : QWidget(parent), FHost(host) {
    setObjectName(QStringLiteral("TabSheet12"));
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(2, 2, 2, 2);
    auto* top = new QHBoxLayout;
    Label27 = Named<QLabel>(this, "Label27");
    BitBtn19 = Named<QPushButton>(this, "BitBtn19", QStringLiteral("Dossier des webcams"));
    top->addWidget(Label27, 1);
    top->addWidget(BitBtn19);
    page->addLayout(top);
    DrawGrid12 = Named<TDrawGrid1>(this, "DrawGrid12");
    DrawGrid12->viewport()->installEventFilter(this);
    page->addWidget(DrawGrid12, 1);
    auto* bottom = new QHBoxLayout;
    CheckBox22 = Named<QCheckBox>(this, "CheckBox22", QStringLiteral("Images JPEG seulement"));
    CheckBox22->setChecked(true);
    CheckBox25 = Named<QCheckBox>(this, "CheckBox25", QStringLiteral("Afficher les vignettes"));
    BitBtn2 = Named<QPushButton>(this, "BitBtn2", QStringLiteral("Afficher"));
    bottom->addWidget(CheckBox22);
    bottom->addWidget(CheckBox25);
    bottom->addStretch(1);
    bottom->addWidget(BitBtn2);
    page->addLayout(bottom);

    FDiskThumbs = std::make_unique<tdiskthumbmanager>(*DrawGrid12, 0);
    tdiskthumbmanager& thumbs = *FDiskThumbs;
    thumbs.OnFolderOpened = [this] { SetFolderLabel(FDiskThumbs->Folder()); };
    thumbs.OnPictureOpened = [this] {
        if (FDiskThumbs->ItemType(FDiskThumbs->Current()) == kEntryFolder)
            FDiskThumbs->SetFolder(FDiskThumbs->CurrentPath());
        else
            FHost.ShowDiskPicture(FDiskThumbs->CurrentPath());
    };
    thumbs.OnSelectionChanged = [this] { FHost.DiskSelectionChanged(); };
    thumbs.OnDeleteSelected = [this] { FHost.DeleteSelectedDiskPictures(); };
    thumbs.OnBuildingStarted = [this] { FHost.SetRunState(kRunThumbnailsStarted); };
    thumbs.OnBuildingEnded = [this] { FHost.SetRunState(kRunThumbnailsEnded); };
    thumbs.OnProgress = [this](int entry) {
        FHost.SetStatusText(QStringLiteral("Mise en place des vignettes") + QString::number(entry));
    };
    thumbs.OnPopup = [this](const QPoint& point) { FHost.PopupDiskMenu(point); };

    connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
    connect(BitBtn19, &QPushButton::clicked, this, [this] { BitBtn19Click(); });
    connect(CheckBox22, &QCheckBox::clicked, this, [this] { CheckBox22Click(); });
    connect(CheckBox25, &QCheckBox::clicked, this, [this] { CheckBox25Click(); });
}

DiskPage::~DiskPage() {
    FDiskThumbs->CancelThumbnails();
    DrawGrid12->viewport()->removeEventFilter(this);
}

void DiskPage::SetFolderLabel(const std::string& folder) {
    QString shown = QString::fromStdString(folder);
    if (!shown.isEmpty()) shown[0] = shown[0].toUpper();
    Label27->setText(QStringLiteral("  ") + shown);
}

void DiskPage::PageControl2Change(bool shown) {
    if (shown) {
        FDiskThumbs->UpdateLayout();
        DrawGrid12->setFocus();
        FDiskThumbs->SetShowThumbnails(CheckBox25->isChecked());
    } else {
        FDiskThumbs->SetShowThumbnails(false);
        FDiskThumbs->CancelThumbnails();
    }
}

void DiskPage::BitBtn2Click() {
    if (BitBtn2->text() == QStringLiteral("Afficher")) {
        // Shown again after a stop: the switch may already be on.
        FDiskThumbs->SetShowThumbnails(true);
        FDiskThumbs->BuildThumbnails();
    } else {
        FDiskThumbs->CancelThumbnails();
    }
}

// Checked: JPEG pictures only; unchecked: the sub-folders as well.
void DiskPage::CheckBox22Click() {
    FDiskThumbs->SetFilter(CheckBox22->isChecked() ? kListJpegFiles : kListJpegFiles | kListFolders);
}

void DiskPage::CheckBox25Click() { FDiskThumbs->SetShowThumbnails(CheckBox25->isChecked()); }

void DiskPage::BitBtn19Click() {
    if (BitBtn19->text() != kRefresh) {
        BitBtn19->setText(kRefresh);
        const std::string folder = FHost.DataFolder();
        FDiskThumbs->SetFolder(folder);
        SetFolderLabel(folder);
    } else {
        FDiskThumbs->Refresh();
    }
}

void DiskPage::OpenWebcamFolder(const std::string& folder) {
    std::error_code error;
    FDiskThumbs->SetFolder(std::filesystem::is_directory(folder, error) ? folder : std::string());
    SetFolderLabel(folder);
    FDiskThumbs->SelectItem(FDiskThumbs->Count());
}

void DiskPage::ApplyThumbnailSwitch() {
    FDiskThumbs->SetShowThumbnails(CheckBox25->isChecked() && FHost.DiskPageShown());
}

bool DiskPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize && watched == DrawGrid12->viewport()) FDiskThumbs->UpdateLayout();
    return QWidget::eventFilter(watched, event);
}

}  // namespace ui
