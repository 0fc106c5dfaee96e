// TtvxSMTP against a real mail server (aiosmtpd): what arrives is what was sent.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "inet/tvx_smtp.h"
#include "tests/inet/smtp_test_support.h"
#include "tests/support/peers.h"
#include "tests/support/python_module.h"
#include "tests/support/smtp_peer.h"
#include "tests/support/temp_dir.h"

namespace {

using smtptest::TestSMTP;
using testsupport::SmtpPeer;

class SmtpDeliveryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ORVELLO_NEED_PEER("python3");
        ORVELLO_NEED_PYTHON_MODULE("aiosmtpd");
        server_ = std::make_unique<SmtpPeer>(testsupport::PythonWithModule("aiosmtpd"), temp_.path(), kRefused);
        ASSERT_TRUE(server_->Running()) << server_->Log();
        smtp_.Aim(server_->port());
    }

    static constexpr const char* kRefused = "refused@orvello.test";
    testsupport::TempDir temp_;
    std::unique_ptr<SmtpPeer> server_;
    TestSMTP smtp_;
};

// As the mailing-list dialog sends a comment.
TEST_F(SmtpDeliveryTest, TheMailingListMessageArrivesAsItWasWritten) {
    smtp_.SetSubject("OVLMSG Comment");
    smtp_.SendTo().clear();
    smtp_.SendTo().push_back("liste@orvello.test");
    smtp_.SetFrom("lecteur@exemple.fr");
    smtp_.SetReplyTo("lecteur@exemple.fr");
    smtp_.MessageText() = {"Bonjour,", ".cette ligne commence par un point", "", "Merci \xE0 vous", "."};
    smtp_.SetAction(inet::smtpSend);
    smtp_.SetAction(inet::smtpDisconnect);

    std::vector<SmtpPeer::Message> messages = server_->WaitMessages(1);
    ASSERT_EQ(1u, messages.size()) << server_->Log();
    EXPECT_EQ("lecteur@exemple.fr", messages[0].from);
    EXPECT_EQ(std::vector<std::string>{"liste@orvello.test"}, messages[0].to);
    EXPECT_EQ(
        "To: liste@orvello.test\r\nFrom: lecteur@exemple.fr\r\nSubject: OVLMSG Comment\r\nReply-To: lecteur@exemple.fr\r\n"
        "\r\nBonjour,\r\n.cette ligne commence par un point\r\n\r\nMerci \xE0 vous\r\n.\r\n\r\n",
        messages[0].content);
}

TEST_F(SmtpDeliveryTest, EachSendToLineIsARecipientAndRefusalsAreTold) {
    smtp_.SendTo() = {"un@orvello.test", "deux@orvello.test"};
    smtp_.BCc() = {kRefused};
    smtp_.SetFrom("Moi <moi@exemple.fr>");
    smtp_.MessageText() = {"texte"};
    smtp_.SetAction(inet::smtpSend);
    EXPECT_NE(smtp_.events.end(),
              std::find(smtp_.events.begin(), smtp_.events.end(), "E: 161 550 5.1.1 no such user here"));

    smtp_.SendTo() = {kRefused};
    try {
        smtp_.SetAction(inet::smtpSend);
        ADD_FAILURE() << "a refused recipient was accepted";
    } catch (const inet::EtvxSMTP& e) {
        EXPECT_EQ(161, e.Code);
        EXPECT_STREQ("161: 550 5.1.1 no such user here", e.what());
    }
    smtp_.SetAction(inet::smtpDisconnect);

    std::vector<SmtpPeer::Message> messages = server_->WaitMessages(1);
    ASSERT_EQ(1u, messages.size()) << server_->Log();
    EXPECT_EQ("moi@exemple.fr", messages[0].from);
    EXPECT_EQ((std::vector<std::string>{"un@orvello.test", "deux@orvello.test"}), messages[0].to);
    EXPECT_EQ("To: un@orvello.test, deux@orvello.test\r\nFrom: Moi <moi@exemple.fr>\r\n\r\ntexte\r\n\r\n", messages[0].content);
}

}  // namespace
