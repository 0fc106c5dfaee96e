// The mailing-list dialog: the address checks, the three messages as a real mail server
// receives them, and a server that never answers while the window keeps answering.
#include "ui/dialogs/joinmail.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <memory>
#include <string>
#include <vector>

#include "engine/messages.h"
#include "platform/qt/gui_loop.h"
#include "platform/qt/scripted_prompts.h"
#include "tests/support/loopback_peer.h"
#include "tests/support/peers.h"
#include "tests/support/python_module.h"
#include "tests/support/smtp_peer.h"
#include "tests/support/temp_dir.h"
#include "tests/ui/dialog_test_support.h"

namespace {

using testsupport::SmtpPeer;

QString Text(int number) { return QString::fromStdString(engine::LoadMessage(number)); }

TEST(JoinmailTest, TheAddressIsCheckedBeforeAnythingIsSent) {
    const struct {
        const char* address;
        int message;
    } cases[] = {
        {"", 65196},
        {"lecteur.exemple.fr", 65197},
        {"lecteur@exemple.fr\r\nBcc: tous@exemple.fr", 65197},
        {"lecteur@exemple.fr\nX-Injected: 1", 65197},
        {"lecteur@exemple.fr\t", 65197},
        {"lecteur@exemple.fr\x7f", 65197},
        {"lecteur@exemple.fr", 0},
        {"Jean Dupont <jean@exemple.fr>", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.message, ui::RefusedAddressMessage(QString::fromUtf8(c.address))) << c.address;

    // The dialog stays open with the message shown and nothing sent (no server is there).
    platform::ScriptedPrompts prompts;
    ui::Tjoinmail dialog;
    dialog.SetServer({"liste@orvello.test", "127.0.0.1", testsupport::ClosedLoopbackPort(), 2000});
    dialog.show();
    dialog.Edit1->setText(QStringLiteral("sans-arobase"));
    dialog.Button1->click();
    EXPECT_EQ(QStringList{Text(65197)}, prompts.shown);
    EXPECT_TRUE(dialog.isVisible());
    dialogtest::SaveScreenshot(dialog, QStringLiteral("joinmail"));
    EXPECT_EQ("OVLMSG Subscribe", ui::MailingListSubject(1));
    EXPECT_EQ("OVLMSG UnSubscribe", ui::MailingListSubject(2));
    EXPECT_EQ("OVLMSG Comment", ui::MailingListSubject(3));
}

class JoinmailSendTest : public ::testing::Test {
protected:
    void SetUp() override {
            bridge_ = std::make_unique<platform::GuiEventBridge>();
    }
    std::unique_ptr<platform::GuiEventBridge> bridge_;
    platform::ScriptedPrompts prompts_;
};

TEST_F(JoinmailSendTest, TheThreeMessagesReachTheListWithTheirSubjectsSenderAndText) {
    ORVELLO_NEED_PEER("python3");
    ORVELLO_NEED_PYTHON_MODULE("aiosmtpd");
    testsupport::TempDir temp;
    SmtpPeer server(testsupport::PythonWithModule("aiosmtpd"), temp.path());
    ASSERT_TRUE(server.Running()) << server.Log();

    ui::Tjoinmail dialog;
    dialog.SetServer({"liste@orvello.test", SmtpPeer::host(), server.port(), 10000});
    const struct {
        QRadioButton* radio;
        QString comment;
        std::string subject, text;
    } cases[] = {
        {dialog.RadioButton1, QString(), "OVLMSG Subscribe", ""},
        {dialog.RadioButton2, QStringLiteral("Au revoir"), "OVLMSG UnSubscribe", "Au revoir\r\n"},
        // The comment is the text, dotted lines stuffed on the wire, French letters in the
        // program's own encoding.
        {dialog.RadioButton3, QStringLiteral("Bonjour,\n.une ligne qui commence par un point\n\nMerci à vous"),
         "OVLMSG Comment", "Bonjour,\r\n.une ligne qui commence par un point\r\n\r\nMerci \xE0 vous\r\n"},
    };
    for (const auto& c : cases) {
        dialog.show();
        c.radio->setChecked(true);
        dialog.Edit1->setText(QStringLiteral("lecteur@exemple.fr"));
        dialog.RichEdit1->setPlainText(c.comment);
        dialog.Button1->click();
        EXPECT_FALSE(dialog.isVisible());  // sent: the dialog closed
    }
    EXPECT_EQ(QStringList({Text(65198), Text(65198), Text(65198)}), prompts_.shown);

    const std::vector<SmtpPeer::Message> messages = server.WaitMessages(3);
    ASSERT_EQ(3u, messages.size()) << server.Log();
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(cases[i].subject);
        EXPECT_EQ("lecteur@exemple.fr", messages[i].from);
        EXPECT_EQ(std::vector<std::string>{"liste@orvello.test"}, messages[i].to);
        EXPECT_EQ("To: liste@orvello.test\r\nFrom: lecteur@exemple.fr\r\nSubject: " + cases[i].subject +
                      "\r\nReply-To: lecteur@exemple.fr\r\n\r\n" + cases[i].text +
                      "\r\n",  // the line end always sent before ".", after the text's own
                  messages[i].content);
    }
}

TEST_F(JoinmailSendTest, AServerThatNeverAnswersEndsInTheTimeOutWithTheWindowAnswering) {
    testsupport::LoopbackPeer silent({testsupport::LoopbackPeer::Gate()});
    ui::Tjoinmail dialog;
    dialog.SetServer({"liste@orvello.test", testsupport::LoopbackPeer::host(), silent.port(), 1500});
    dialog.show();
    dialog.RadioButton3->setChecked(true);
    dialog.Edit1->setText(QStringLiteral("lecteur@exemple.fr"));
    dialog.RichEdit1->setPlainText(QStringLiteral("mon commentaire"));

    // A timer of the window's thread keeps firing while the message waits for the server, and
    // the dialog refuses to close meanwhile.
    int ticks = 0, ticksWhileSending = 0;
    bool closedWhileSending = false;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        ++ticks;
        if (!dialog.Sending()) return;
        ++ticksWhileSending;
        dialog.reject();
        closedWhileSending = closedWhileSending || !dialog.isVisible();
        EXPECT_FALSE(dialog.Button1->isEnabled());
    });
    timer.start(50);
    QElapsedTimer clock;
    clock.start();
    dialog.Button1->click();
    const qint64 elapsed = clock.elapsed();
    silent.OpenGate();

    EXPECT_GE(elapsed, 1400);
    EXPECT_GE(ticksWhileSending, 5);
    EXPECT_FALSE(closedWhileSending);
    EXPECT_TRUE(dialog.isVisible());  // the text is still there to send again
    EXPECT_EQ(QStringLiteral("mon commentaire"), dialog.RichEdit1->toPlainText());
    EXPECT_TRUE(dialog.Button1->isEnabled());
    ASSERT_EQ(1, prompts_.shown.size());
    EXPECT_EQ(QStringLiteral("Le serveur de messagerie ne répond pas.\n\n") + Text(65199), prompts_.shown[0]);
}

TEST_F(JoinmailSendTest, ARefusalOrALostConnectionIsToldInFrenchAndTheDialogStays) {
    using Peer = testsupport::LoopbackPeer;
    const auto greeted = [](std::vector<Peer::Step> rest) {
        std::vector<Peer::Step> steps{Peer::Send("220 hi\r\n"), Peer::ReceiveUntil("\r\n"), Peer::Send("250 ok\r\n")};
        steps.insert(steps.end(), rest.begin(), rest.end());
        return steps;
    };
    const struct {
        const char* name;
        std::vector<Peer::Step> script;
        QString reason;
    } cases[] = {
        {"recipient refused",
         greeted({Peer::ReceiveUntil("RSET\r\n"), Peer::Send("250 ok\r\n"), Peer::ReceiveUntil("\r\n"),
                  Peer::Send("250 ok\r\n"), Peer::ReceiveUntil("\r\n"), Peer::Send("550 no such user\r\n"),
                  Peer::ReceiveUntil("QUIT\r\n"), Peer::Send("221 bye\r\n")}),
         QStringLiteral("Le serveur de messagerie a refusé le message.")},
        {"connection reset", greeted({Peer::ReceiveUntil("RSET\r\n"), Peer::Reset()}),
         QStringLiteral("Le serveur de messagerie n'a pas pu être joint, ou la connexion a été coupée.")},
        {"nobody listening", {}, QStringLiteral("Le serveur de messagerie n'a pas pu être joint, ou la connexion a été coupée.")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        prompts_.shown.clear();
        std::unique_ptr<Peer> peer;
        std::uint16_t port = testsupport::ClosedLoopbackPort();
        if (!c.script.empty()) {
            peer = std::make_unique<Peer>(c.script);
            port = peer->port();
        }
        ui::Tjoinmail dialog;
        dialog.SetServer({"liste@orvello.test", Peer::host(), port, 5000});
        dialog.show();
        dialog.Edit1->setText(QStringLiteral("lecteur@exemple.fr"));
        dialog.Button1->click();
        EXPECT_TRUE(dialog.isVisible());
        ASSERT_EQ(1, prompts_.shown.size());
        EXPECT_EQ(c.reason + QStringLiteral("\n\n") + Text(65199), prompts_.shown[0]);
    }
}

}  // namespace
