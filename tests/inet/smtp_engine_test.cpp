// The SMTP engine's own properties and actions: the inactivity limit, EXPN and VRFY,
// commands, the busy guard and the message file.

#include "inet/smtp_engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "inet/tvx_smtp.h"
#include "tests/inet/smtp_test_support.h"
#include "tests/support/temp_dir.h"

namespace {

using namespace smtptest;
using inet::SmtpAction;
using inet::SmtpProperty;
using Steps = std::vector<Peer::Step>;

const std::string kEhlo = "EHLO " + HeloName();

bool Has(const std::vector<std::string>& events, const std::string& event) {
    return std::find(events.begin(), events.end(), event) != events.end();
}

TEST(SmtpEngineTest, AServerThatStopsAnsweringEndsTheActionAfterTheInactivityLimit) {
    {
        TestSMTP fresh;
        EXPECT_EQ(30000u, fresh.Engine().Timeout());
        EXPECT_EQ(25u, fresh.Engine().GetNumber(SmtpProperty::MailPort));
    }
    const std::string text(1 << 20, 'x');  // more than the socket buffers hold
    const struct {
        const char* name;
        Steps script;
        SmtpAction action;
    } cases[] = {
        {"no reply", {Peer::Send("220 hi\r\n"), Peer::ReceiveUntil(kEhlo + "\r\n"), Peer::Gate()}, SmtpAction::Connect},
        {"the text is not read",
         Greeted() + Answer("RSET", "250 ok") + Answer("MAIL FROM:<me@y>", "250 ok") + Answer("RCPT TO:<a@x>", "250 ok") +
             Answer("DATA", "354 go") + Steps{Peer::Gate()},
         SmtpAction::Send},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Peer peer(c.script);
        TestSMTP smtp;
        smtp.Aim(peer.port());
        inet::SmtpEngine& engine = smtp.Engine();
        engine.SetTimeout(300);
        ASSERT_EQ(0, engine.SetSendBufferSize(4096));
        ASSERT_EQ(0, engine.Set(SmtpProperty::From, "me@y"));
        ASSERT_EQ(0, engine.Set(SmtpProperty::SendTo, "a@x"));
        ASSERT_EQ(0, engine.Set(SmtpProperty::MessageText, text));
        EXPECT_EQ(301, engine.DoAction(c.action));
        EXPECT_EQ("Interrupted.", engine.LastError());
        EXPECT_FALSE(engine.Interrupted());
        EXPECT_FALSE(engine.Connected());
        peer.OpenGate();
    }
}

TEST(SmtpEngineTest, RepliesThatKeepComingReArmTheLimit) {
    Peer peer({Peer::Send("220 hi\r\n"), Peer::ReceiveUntil(kEhlo + "\r\n"), Peer::Send("250-a\r\n"),
               Peer::Delay(std::chrono::milliseconds(150)), Peer::Send("250-b\r\n"),
               Peer::Delay(std::chrono::milliseconds(150)), Peer::Send("250-c\r\n"),
               Peer::Delay(std::chrono::milliseconds(150)), Peer::Send("250 d\r\n")});
    TestSMTP smtp;
    smtp.Aim(peer.port());
    smtp.Engine().SetTimeout(400);  // less than the whole reply takes
    EXPECT_EQ(0, smtp.Engine().DoAction(SmtpAction::Connect));
    EXPECT_EQ("250 d", smtp.LastReply());
}

TEST(SmtpEngineTest, ExpandVerifyAndACommandOfOurOwn) {
    Peer peer(Greeted() + Answer("EXPN staff", "250-Jean <jean@x>\r\n250 Paul <paul@y>") +
              Answer("EXPN nobody", "550-access\r\n550 denied") + Answer("VRFY jean", "252 Jean <jean@x>") +
              Answer("NOOP", "250 fine"));
    TestSMTP smtp;
    smtp.Aim(peer.port());
    inet::SmtpEngine& engine = smtp.Engine();
    int busy = 0, busyCommand = 0;
    smtp.OnExpand = [&](inet::TtvxSMTP&, const std::string& address) {
        smtp.events.push_back("X: " + address);
        busy = engine.DoAction(SmtpAction::Send);
        busyCommand = engine.Set(SmtpProperty::Command, "RSET");
    };

    ASSERT_EQ(0, engine.Set(SmtpProperty::SendTo, "staff"));
    EXPECT_EQ(0, engine.DoAction(SmtpAction::Expand));
    EXPECT_TRUE(Has(smtp.events, "X: Jean <jean@x>"));
    EXPECT_TRUE(Has(smtp.events, "X: Paul <paul@y>"));
    EXPECT_EQ(166, busy);
    EXPECT_EQ(166, busyCommand);
    EXPECT_EQ("Busy performing current action.", engine.LastError());

    const std::size_t before = smtp.events.size();
    ASSERT_EQ(0, engine.Set(SmtpProperty::SendTo, "nobody"));
    EXPECT_EQ(161, engine.DoAction(SmtpAction::Expand));
    EXPECT_EQ("550 denied", engine.LastError());
    EXPECT_EQ(before + 3, smtp.events.size());  // the command and its two reply lines, no expansion

    ASSERT_EQ(0, engine.Set(SmtpProperty::SendTo, "jean"));
    EXPECT_EQ(0, engine.DoAction(SmtpAction::Verify));
    EXPECT_EQ("Jean <jean@x>", engine.Get(SmtpProperty::SendTo));

    int busyDuringCommand = 0;
    smtp.OnPITrail = [&](inet::TtvxSMTP&, inet::TPIDirections, const std::string& text) {
        if (text == "NOOP") busyDuringCommand = engine.DoAction(SmtpAction::Connect);
    };
    EXPECT_EQ(0, engine.Set(SmtpProperty::Command, "NOOP"));
    EXPECT_EQ(166, busyDuringCommand);
    EXPECT_EQ("250 fine", engine.Get(SmtpProperty::LastReply));
    ASSERT_TRUE(peer.WaitScriptDone());
    EXPECT_EQ(kEhlo + "\r\nEXPN staff\r\nEXPN nobody\r\nVRFY jean\r\nNOOP\r\n", peer.Received());
}

TEST(SmtpEngineTest, AHandlersExceptionEndsTheActionAndTheNextOneRuns) {
    Peer peer(Steps{Peer::Send("220 hi\r\n")} + Answer(kEhlo, "250 ok"));
    TestSMTP smtp;
    smtp.Aim(peer.port());
    bool thrown = false;
    smtp.OnPITrail = [&](inet::TtvxSMTP&, inet::TPIDirections, const std::string& text) {
        if (text == kEhlo && !thrown) {
            thrown = true;
            throw std::runtime_error("handler failed");
        }
    };
    EXPECT_THROW(smtp.SetAction(inet::smtpConnect), std::runtime_error);
    EXPECT_EQ(inet::smtpIdle, smtp.Action());
    EXPECT_EQ(0, smtp.Engine().DoAction(SmtpAction::Connect));  // connected already: greets again
    ASSERT_TRUE(peer.WaitScriptDone());
    EXPECT_EQ(kEhlo + "\r\n", peer.Received());
}

// The file follows the text, read in pieces with its dots stuffed across them; a value
// with a line break cannot add a command or a header line.
TEST(SmtpEngineTest, AMessageFileIsSentAfterTheTextWithItsDotsStuffed) {
    testsupport::TempDir temp;
    const std::string file = (temp.path() / "message.txt").string();
    const std::string content = std::string(2046, 'a') + "\r\n.b\r\n..c";  // ".b" begins the second piece
    testsupport::WriteFile(file, content);
    Peer peer(Greeted() + Answer("RSET", "250 ok") + Answer("SAML FROM:<me@y>", "250 ok") +
              Answer("RCPT TO:<a@xQUIT>", "250 ok") + Answer("DATA", "354 go") + Answer("\r\n.", "250 ok"));
    TestSMTP smtp;
    smtp.Aim(peer.port());
    inet::SmtpEngine& engine = smtp.Engine();
    ASSERT_EQ(0, engine.Set(SmtpProperty::From, "me@y"));
    ASSERT_EQ(0, engine.Set(SmtpProperty::SendTo, "a@x\r\nQUIT"));
    ASSERT_EQ(0, engine.Set(SmtpProperty::MessageText, ".t\r\n"));
    ASSERT_EQ(0, engine.Set(SmtpProperty::MessageFile, file));
    EXPECT_EQ(0, engine.DoAction(SmtpAction::SendToTerminalAndEmail));
    ASSERT_TRUE(peer.WaitScriptDone());
    EXPECT_EQ(kEhlo + "\r\nRSET\r\nSAML FROM:<me@y>\r\nRCPT TO:<a@xQUIT>\r\nDATA\r\nTo: a@xQUIT\r\nFrom: me@y\r\n\r\n..t\r\n" +
                  std::string(2046, 'a') + "\r\n..b\r\n...c\r\n.\r\n",
              peer.Received());
    const std::vector<std::string> transfer = {"start", "transfer 5", "end", "start", "transfer 2048",
                                               "transfer " + std::to_string(content.size()), "end"};
    EXPECT_NE(smtp.events.end(), std::search(smtp.events.begin(), smtp.events.end(), transfer.begin(), transfer.end()));

    Peer second(Greeted() + Answer("RSET", "250 ok") + Answer("MAIL FROM:<me@y>", "250 ok") +
                Answer("RCPT TO:<a@xQUIT>", "250 ok") + Answer("DATA", "354 go"));
    engine.Connect(false);
    smtp.Aim(second.port());
    ASSERT_EQ(0, engine.Set(SmtpProperty::MessageFile, file + ".missing"));
    EXPECT_EQ(302, engine.DoAction(SmtpAction::Send));
    EXPECT_EQ("Can't open file for reading.", engine.LastError());
}

}  // namespace
