#include "ui/web/checknew.h"

#include "ui/commands/command_scopes.h"
#include "ui/dialogs/dialog_controls.h"
#include "ui/dialogs/dialog_instance.h"
#include "ui/dialogs/title_width.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace ui {
namespace {
constexpr int kMsgChecking = 65192;
constexpr int kMsgNewVersion = 65193;
constexpr int kMsgUpToDate = 65194;
constexpr int kMsgCheckFailed = 65195;
}  // namespace

Tchecknew::Tchecknew(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("checknew"));
    setWindowTitle(QStringLiteral("Orvello - Verification de l'existance de nouvelle version"));
    resize(420, 140);
    auto* layout = new QVBoxLayout(this);
    Label1 = Named<QLabel>(this, "Label1");
    Label1->setWordWrap(true);
    Label2 = Named<QLabel>(this, "Label2");
    Label2->setWordWrap(true);
    layout->addWidget(Label1);
    layout->addWidget(Label2, 1);
    auto* buttons = new QHBoxLayout;
    Button1 = Named<QPushButton>(this, "Button1", QStringLiteral("Télécharger la page"));
    connect(Button1, &QPushButton::clicked, this, [this] {
        if (openPage_) openPage_();
    });
    OKBtn = Named<QPushButton>(this, "OKBtn", QStringLiteral("Quitter"));
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::close);
    buttons->addWidget(Button1);
    buttons->addStretch(1);
    buttons->addWidget(OKBtn);
    layout->addLayout(buttons);
    FitTitle(*this);
}

void Tchecknew::Check(const VersionCheck& check, std::function<void()> openPage) {
    openPage_ = std::move(openPage);
    if (busy_) {
        cancelled_ = false;
        show();
        raise();
        return;
    }
    Label1->setText(Message(kMsgChecking));
    Label2->clear();
    OKBtn->setEnabled(false);
    Button1->hide();
    show();
    cancelled_ = false;
    VersionAnswer answer;
    {
        FlagScope busy(busy_);
        answer = check([this] { return cancelled_; });
    }
    if (cancelled_) return;
    switch (answer.kind) {
    case VersionAnswer::Kind::Newer:
        Label1->setText(Message(kMsgNewVersion));
        Label2->setText(FitLines(ShownVersionText(answer.text), Label2->fontMetrics(), Label2->contentsRect().width()));
        Button1->show();
        break;
    case VersionAnswer::Kind::Latest: Label1->setText(Message(kMsgUpToDate)); break;
    case VersionAnswer::Kind::Failed:
        Label1->setText(Message(kMsgCheckFailed));
        Label2->setText(QString::fromStdString(answer.reason));
        break;
    }
    OKBtn->setEnabled(true);
}

void Tchecknew::done(int result) {
    if (busy_) cancelled_ = true;
    QDialog::done(result);
}

Tchecknew& checknew() { return DialogInstance<Tchecknew>::Get(); }

}  // namespace ui
