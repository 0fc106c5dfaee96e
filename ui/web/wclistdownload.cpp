#include "ui/web/wclistdownload.h"

#include "platform/qt/prompts.h"
#include "ui/commands/command_scopes.h"
#include "ui/dialogs/dialog_controls.h"
#include "ui/dialogs/dialog_instance.h"
#include "ui/dialogs/record_text.h"
#include "ui/web/hourglass.h"
#include "ui/web/product_site.h"
#include "ui/web/waitdownload.h"

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

constexpr int kMsgLookingForLists = 65169;
constexpr int kMsgNewerVersion = 65170;
constexpr int kMsgNoListDownloaded = 65172;
constexpr int kMsgSiteProblem = 65173;
constexpr int kMsgClickAList = 65174;
constexpr int kMsgDownloadProblem = 65175;
constexpr int kMsgListSavedIn = 65176;

}  // namespace

Twclistdownload::Twclistdownload(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("wclistdownload"));
    setWindowTitle(QStringLiteral("Télécharger la list des Webcams"));
    resize(448, 220);
    auto* layout = new QVBoxLayout(this);
    Label1 = Named<QLabel>(this, "Label1");
    Label1->setWordWrap(true);
    layout->addWidget(Label1);
    ListBox1 = Named<QListWidget>(this, "ListBox1");
    ListBox1->setUniformItemSizes(true);  // one line of text each: laid out without measuring each
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, &Twclistdownload::ListBox1DblClick);
    layout->addWidget(ListBox1, 1);
    auto* buttons = new QHBoxLayout;
    createbtn = Named<QPushButton>(this, "createbtn", QStringLiteral("Ajouter webcam à partir de la liste"));
    createbtn->setAutoDefault(false);
    connect(createbtn, &QPushButton::clicked, this, &Twclistdownload::CreatebtnClick);
    OKBtn = Named<QPushButton>(this, "OKBtn", QStringLiteral("Quitter"));
    OKBtn->setAutoDefault(false);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    buttons->addWidget(createbtn);
    buttons->addStretch(1);
    buttons->addWidget(OKBtn);
    layout->addLayout(buttons);
    Timer1 = Named<QTimer>(this, "Timer1");
    Timer1->setSingleShot(true);
    Timer1->setInterval(1);
    connect(Timer1, &QTimer::timeout, this, &Twclistdownload::Timer1Timer);
}

bool Twclistdownload::Execute(const std::string& indexUrl, ListDownloadServices services) {
    services_ = std::move(services);
    IndexURL = indexUrl.empty() ? DefaultListIndexUrl() : indexUrl;
    URLs_.clear();
    names_.clear();
    ListBox1->clear();
    createbtn->setEnabled(false);
    OKBtn->setEnabled(false);
    cancelled_ = false;
    Label1->setText(Message(kMsgLookingForLists));
    Timer1->start();
    exec();
    Timer1->stop();
    URLs_.clear();
    return true;
}

// A close while a request runs ends the request first; the dialog closes once it returned.
void Twclistdownload::done(int result) {
    if (busy_) {
        cancelled_ = true;
        return;
    }
    QDialog::done(result);
}

bool Twclistdownload::Download(const std::string& url) {
    Buffer.clear();
    bool ok = true;
    {
        FlagScope busy(busy_);
        WaitDownloadScope wait;
        try {
            Buffer = FetchText(url, services_.proxy, services_.limits, [this] { return cancelled_; });
        } catch (const std::exception&) {
            ok = false;
        }
    }
    if (cancelled_) QDialog::done(QDialog::Rejected);
    return ok && !cancelled_;
}

void Twclistdownload::Timer1Timer() {
    ListBox1->clear();
    {
        Hourglass hourglass;
        VersionAnswer version;
        if (services_.checkNewVersion) {
            FlagScope busy(busy_);
            version = services_.checkNewVersion([this] { return cancelled_; });
        }
        if (cancelled_) {
            QDialog::done(QDialog::Rejected);
            return;
        }
        if (version.kind == VersionAnswer::Kind::Newer &&
            platform::CurrentPrompts().Ask(Message(kMsgNewerVersion) + u'\n' + ShownVersionText(version.text))) {
            if (services_.openHomePage) services_.openHomePage();
            OKBtn->setEnabled(true);
        }
        if (!Download(IndexURL)) Buffer.clear();
        if (!isVisible()) return;  // closed meanwhile
        ParseListIndex();
        OKBtn->setEnabled(true);
    }
    if (!URLs_.empty()) {
        Label1->setText(Message(kMsgClickAList) + QString::number(URLs_.size()));
    } else {
        Label1->setText(Message(kMsgNoListDownloaded));
        platform::CurrentPrompts().Message(Message(kMsgSiteProblem));
    }
}

void Twclistdownload::ParseListIndex() {
    URLs_.clear();
    names_.clear();
    std::vector<ListIndexEntry> entries = ui::ParseListIndex(Buffer);
    Buffer.clear();
    names_.reserve(entries.size());
    URLs_.reserve(entries.size());
    for (ListIndexEntry& entry : entries) {
        names_.push_back(std::move(entry.name));
        URLs_.push_back(std::move(entry.url));
    }
    // An index can hold hundreds of thousands of lines: the box is filled a step at a time, the
    // window answering between steps, until it is full or the dialog was closed.
    constexpr std::size_t kLinesAStep = 4000;
    for (std::size_t first = 0; first < names_.size() && isVisible(); first += kLinesAStep) {
        QStringList step;
        const std::size_t end = std::min(names_.size(), first + kLinesAStep);
        step.reserve(static_cast<qsizetype>(end - first));
        for (std::size_t i = first; i < end; ++i) step.append(FromRecord(names_[i]));
        ListBox1->addItems(step);
        QCoreApplication::processEvents();
    }
}

void Twclistdownload::ListBox1DblClick() {
    const int row = ListBox1->currentRow();
    if (busy_ || row < 0 || row >= static_cast<int>(URLs_.size())) return;
    if (!Download(URLs_[row])) {
        if (!cancelled_) platform::CurrentPrompts().Message(Message(kMsgDownloadProblem));
        return;
    }
    const std::string path = services_.programFolder + SavedListFileName(names_[row]).toStdString();
    const QString shownPath = QString::fromStdString(path);
    try {
        SaveListText(path, Buffer);
    } catch (const std::system_error& e) {
        Buffer.clear();
        platform::CurrentPrompts().Message(QString::fromStdString(e.what()), platform::Prompts::Icon::Error);
        return;
    }
    platform::CurrentPrompts().Message(Message(kMsgListSavedIn) + shownPath);
    try {
        AddDownloadedEntry(services_.programFolder, FromRecord(names_[row]) + QStringLiteral(" - ") + shownPath);
    } catch (const std::system_error& e) {
        platform::CurrentPrompts().Message(QString::fromStdString(e.what()), platform::Prompts::Icon::Error);
    }
    CurrentList_ = shownPath;
    if (services_.listSaved) services_.listSaved(path);
    createbtn->setEnabled(true);
    Buffer.clear();
}

void Twclistdownload::CreatebtnClick() {
    if (services_.createFromList) services_.createFromList();
}

Twclistdownload& wclistdownload() { return DialogInstance<Twclistdownload>::Get(); }

}  // namespace ui
