#include "ui/dialogs/joinmail.h"

#include "inet/engine_errors.h"
#include "inet/smtp_ids.h"
#include "inet/tvx_smtp.h"
#include "platform/cp1252.h"
#include "platform/qt/prompts.h"
#include "ui/dialogs/dialog_controls.h"
#include "ui/dialogs/dialog_instance.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace ui {

namespace {

constexpr int kMsgNoAddress = 65196;
constexpr int kMsgInvalidAddress = 65197;
constexpr int kMsgSent = 65198;
constexpr int kMsgNotSent = 65199;

// Why a send failed, in the user's words: a connection that failed or broke, whatever code the
// action then ended with, or the server's silence, or its refusal.
QString FailureReason(int code, bool connectionLost) {
    if (!connectionLost && code == inet::kErrInterrupted) return QStringLiteral("Le serveur de messagerie ne répond pas.");
    if (!connectionLost && code == inet::kErrSmtpReply) return QStringLiteral("Le serveur de messagerie a refusé le message.");
    return QStringLiteral("Le serveur de messagerie n'a pas pu être joint, ou la connexion a été coupée.");
}

// A read-only note about the list.
QLabel* Note(QWidget* parent, const char* name, const QString& text) {
    auto* note = Named<QLabel>(parent, name, text);
    note->setWordWrap(true);
    note->setFrameShape(QFrame::StyledPanel);
    note->setMargin(4);
    return note;
}

}  // namespace

MailingListServer OrvelloMailingList() { return {"ovl-liste@quenmark.example", "mail.quenmark.example", 25, 30000}; }

std::string MailingListSubject(int mode) {
    switch (mode) {
    case 2: return "OVLMSG UnSubscribe";
    case 3: return "OVLMSG Comment";
    default: return "OVLMSG Subscribe";
    }
}

int RefusedAddressMessage(const QString& address) {
    if (address.isEmpty()) return kMsgNoAddress;
    if (!address.contains(QLatin1Char('@'))) return kMsgInvalidAddress;
    // Nothing in the address may end a header line or add one.
    for (QChar c : address)
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            return kMsgInvalidAddress;
    return 0;
}

// The component with the server, port and silence limit of the list.
class Tjoinmail::Component : public inet::TtvxSMTP {
public:
    Component() {
        OnError = [this](inet::TtvxSMTP&, int code, const std::string&) {
            if (code == inet::kErrSmtpConnection) connectionLost = true;
        };
    }
    bool connectionLost = false;  // during the running send

    void Aim(const MailingListServer& server) {
        SetMailServer(server.host);
        Engine().SetNumber(inet::SmtpProperty::MailPort, server.port);
        Engine().SetTimeout(server.inactivityMs);
    }
};

Tjoinmail::Tjoinmail(QWidget* parent) : QDialog(parent), server_(OrvelloMailingList()) {
    setObjectName(QStringLiteral("joinmail"));
    setWindowTitle(QStringLiteral("Joindre la mailling liste Orvello"));
    auto* layout = new QVBoxLayout(this);
    auto* wish = new QGroupBox(QStringLiteral("J'aimerai :"), this);
    auto* radios = new QVBoxLayout(wish);
    RadioButton1 = Named<QRadioButton>(wish, "RadioButton1", QStringLiteral("recevoir des infos"));
    RadioButton2 = Named<QRadioButton>(wish, "RadioButton2", QStringLiteral("ne plus en recevoir"));
    RadioButton3 = Named<QRadioButton>(wish, "RadioButton3", QStringLiteral("faire un commentaire"));
    RadioButton1->setChecked(true);
    for (QRadioButton* radio : {RadioButton1, RadioButton2, RadioButton3}) radios->addWidget(radio);
    layout->addWidget(wish);

    layout->addWidget(new QLabel(QStringLiteral("Votre adresse mail : "), this));
    Edit1 = Named<QLineEdit>(this, "Edit1");
    layout->addWidget(Edit1);
    layout->addWidget(new QLabel(QStringLiteral("Commentaire (optionnel)"), this));
    RichEdit1 = Named<QPlainTextEdit>(this, "RichEdit1");
    layout->addWidget(RichEdit1, 1);
    layout->addWidget(Note(this, "RichEdit2",
                           QStringLiteral("La liste Orvello vous informe des nouvelles versions et des nouvelles "
                                          "listes de webcams. Elle n'envoie rien d'autre.")));
    layout->addWidget(Note(this, "RichEdit3",
                           QStringLiteral("Votre adresse ne sert qu'à la liste ; vous pouvez la quitter à tout "
                                          "moment depuis ce même dialogue.")));
    Label4 = Named<QLabel>(this, "Label4", QStringLiteral("Patientez svp ... le message va être envoyer"));
    Label4->hide();
    layout->addWidget(Label4);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    Button1 = Named<QPushButton>(this, "Button1", QStringLiteral("Envoyer"));
    Button1->setDefault(true);
    Button2 = Named<QPushButton>(this, "Button2", QStringLiteral("Quitter"));
    connect(Button1, &QPushButton::clicked, this, &Tjoinmail::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &Tjoinmail::reject);
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    layout->addLayout(buttons);
    resize(420, 460);
}

Tjoinmail::~Tjoinmail() = default;

void Tjoinmail::Execute(int mode) {
    (mode == 2 ? RadioButton2 : mode == 3 ? RadioButton3 : RadioButton1)->setChecked(true);
    exec();
    if (tvxSMTP1) tvxSMTP1->SetAction(inet::smtpIdle);
}

int Tjoinmail::Mode() const { return RadioButton2->isChecked() ? 2 : RadioButton3->isChecked() ? 3 : 1; }

// While a message goes out the dialog cannot be closed: the send ends by itself, at the
// latest after the server's silence limit.
void Tjoinmail::reject() {
    if (!sending_) QDialog::reject();
}

void Tjoinmail::Button1Click() {
    if (sending_) return;
    const QString address = Edit1->text();
    if (int refused = RefusedAddressMessage(address)) {
        platform::CurrentPrompts().Message(Message(refused));
        Edit1->setFocus();
        return;
    }
    if (Send(address)) {
        platform::CurrentPrompts().Message(Message(kMsgSent));
        accept();
    }
}

bool Tjoinmail::Send(const QString& address) {
    sending_ = true;
    Button1->setEnabled(false);
    Button2->setEnabled(false);
    Label4->show();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    int code = 0;
    try {
        if (!tvxSMTP1) tvxSMTP1 = std::make_unique<Component>();
        tvxSMTP1->Aim(server_);
        tvxSMTP1->connectionLost = false;
        const std::string user = platform::Utf8ToCp1252(address.toStdString());
        tvxSMTP1->SetSubject(MailingListSubject(Mode()));
        tvxSMTP1->SendTo() = {server_.listAddress};
        tvxSMTP1->SetFrom(user);
        tvxSMTP1->SetReplyTo(user);
        tvxSMTP1->MessageText().clear();
        const QString comment = RichEdit1->toPlainText();
        if (!comment.isEmpty())
            for (const QString& line : comment.split(QLatin1Char('\n')))
                tvxSMTP1->MessageText().push_back(platform::Utf8ToCp1252(line.toStdString()));
        tvxSMTP1->SetAction(inet::smtpSend);
    } catch (const inet::ETarvixBase& e) {
        code = e.Code;
    } catch (const std::exception&) {
        code = -1;
    }
    const bool connectionLost = tvxSMTP1 && tvxSMTP1->connectionLost;
    // Each send has a connection of its own: no connection stays open between two.
    if (tvxSMTP1) {
        try {
            tvxSMTP1->SetAction(inet::smtpDisconnect);
        } catch (const std::exception&) {
            // the message's outcome is known already
        }
    }
    QApplication::restoreOverrideCursor();
    Label4->hide();
    Button1->setEnabled(true);
    Button2->setEnabled(true);
    sending_ = false;
    if (code != 0)
        platform::CurrentPrompts().Message(FailureReason(code, connectionLost) + QStringLiteral("\n\n") + Message(kMsgNotSent),
                                           platform::Prompts::Icon::Warning);
    return code == 0;
}

Tjoinmail& joinmail() { return DialogInstance<Tjoinmail>::Get(); }

}  // namespace ui
