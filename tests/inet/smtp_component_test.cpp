// TtvxSMTP against scripted servers: exact transcripts, odd and refusing replies.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "inet/tvx_smtp.h"
#include "tests/inet/smtp_test_support.h"

namespace {

using namespace smtptest;
using inet::TtvxSMTP;
using Steps = std::vector<Peer::Step>;

const std::string kEhlo = "EHLO " + HeloName();
const std::string kHelo = kEhlo + "\r\n";

// The message of the mailing-list dialog, sent twice on one connection: the second send
// starts with RSET and its dots are stuffed once again, not twice.
TEST(SmtpComponentTest, SendsTheMessageWithItsExactTranscriptTwice) {
    const Steps mail = Answer("RSET", "250 reset") + Answer("MAIL FROM:<jean@exemple.fr>", "250 sender ok") +
                       Answer("RCPT TO:<list@orvello.test>", "250 ok") + Answer("RCPT TO:<copy@orvello.test>", "250 ok") +
                       Answer("DATA", "354 go ahead") + Answer("\r\n.", "250 queued");
    Peer peer(Greeted() + mail + mail + Answer("QUIT", "221 bye") + Steps{Peer::Close()});
    TestSMTP smtp;
    smtp.Aim(peer.port());
    smtp.SetSubject("OVLMSG Comment");
    smtp.SendTo() = {"list@orvello.test", "copy@orvello.test"};
    smtp.SetFrom("Jean Dupont <jean@exemple.fr>");
    smtp.SetReplyTo("Jean Dupont <jean@exemple.fr>");
    const TtvxSMTP::TStrings text = {"Bonjour,", ".une ligne avec un point", "..deux", "fin \xE9t\xE9"};
    smtp.SetMessageText(text);

    smtp.SetAction(inet::smtpSend);
    EXPECT_EQ(text, smtp.MessageText());
    smtp.SetAction(inet::smtpSend);
    smtp.SetAction(inet::smtpDisconnect);
    EXPECT_EQ("221 bye", smtp.LastReply());
    EXPECT_FALSE(smtp.Engine().Connected());

    const std::string stuffed = "Bonjour,\r\n..une ligne avec un point\r\n...deux\r\nfin \xE9t\xE9\r\n";
    const std::string sent =
        "RSET\r\nMAIL FROM:<jean@exemple.fr>\r\nRCPT TO:<list@orvello.test>\r\nRCPT TO:<copy@orvello.test>\r\nDATA\r\n"
        "To: list@orvello.test, copy@orvello.test\r\nFrom: Jean Dupont <jean@exemple.fr>\r\nSubject: OVLMSG Comment\r\n"
        "Reply-To: Jean Dupont <jean@exemple.fr>\r\n\r\n" +
        stuffed + "\r\n.\r\n";  // a line end before "." even after the text's own
    ASSERT_TRUE(peer.WaitScriptDone());
    EXPECT_EQ(kHelo + sent + sent + "QUIT\r\n", peer.Received());

    const std::vector<std::string> opening = {
        "N: Connecting to mail server.", "N: Connected.", "C: ", "R: 220 peer ready", "C: " + kEhlo,
        "R: 250-peer greets you", "R: 250-SIZE 1000000", "R: 250 HELP", "C: RSET", "R: 250 reset"};
    ASSERT_GE(smtp.events.size(), opening.size());
    EXPECT_EQ(opening, std::vector<std::string>(smtp.events.begin(), smtp.events.begin() + opening.size()));
    const std::vector<std::string> data = {"C: DATA", "R: 354 go ahead", "start",
                                           "transfer " + std::to_string(stuffed.size()), "end", "C: .", "R: 250 queued"};
    auto at = std::search(smtp.events.begin(), smtp.events.end(), data.begin(), data.end());
    EXPECT_NE(smtp.events.end(), at);
    EXPECT_EQ("N: Disconnected.", smtp.events.back());
}

TEST(SmtpComponentTest, TheConnectActionReadsWholeRepliesAndFallsBackToHelo) {
    const std::string helo = "HELO " + HeloName();
    const struct {
        const char* name;
        Steps script;
        std::string failure;  // "" for success
        std::string received;
    } cases[] = {
        {"multi-line EHLO reply in one packet", Greeted(), "", kHelo},
        {"EHLO refused", Steps{Peer::Send("220 old server\r\n")} + Answer(kEhlo, "502 not implemented") + Answer(helo, "250 hello"),
         "", kHelo + helo + "\r\n"},
        {"greeting refused", Steps{Peer::Send("554 no service for you\r\n")}, "161: 554 no service for you", ""},
        {"greeting in several lines after a preliminary one",
         Steps{Peer::Send("120 a moment\r\n220-first\r\n220 second\r\n")} + Answer(kEhlo, "250 ok"), "", kHelo},
        {"both greetings refused, in several lines",
         Steps{Peer::Send("220 ready\r\n")} + Answer(kEhlo, "500 what") +
             Answer(helo, "501-not you\r\n501 not today"),
         "161: 501 not today", kHelo + helo + "\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Peer peer(c.script);
        TestSMTP smtp;
        smtp.Aim(peer.port());
        EXPECT_EQ(c.failure, smtp.Failure(inet::smtpConnect));
        EXPECT_TRUE(peer.WaitScriptDone());
        EXPECT_EQ(c.received, peer.Received());
    }
}

TEST(SmtpComponentTest, ARefusedRecipientEndsTheSendButARefusedBlindCopyIsOnlyReported) {
    Peer peer(Greeted() + Answer("RSET", "250 ok") + Answer("MAIL FROM:<me@y>", "250 ok") +
              Answer("RCPT TO:<a@x>", "250 ok") + Answer("RCPT TO:<nobody@x>", "550 no such user here") +
              Answer("RSET", "250 ok") + Answer("MAIL FROM:<me@y>", "250 ok") + Answer("RCPT TO:<a@x>", "250 ok") +
              Answer("RCPT TO:<hidden@z>", "550 unknown") + Answer("RCPT TO:<kept@z>", "250 ok") +
              Answer("DATA", "354 go") + Answer("\r\n.", "250 sent"));
    TestSMTP smtp;
    smtp.Aim(peer.port());
    smtp.SetFrom("me@y");
    smtp.SendTo() = {"a@x", "nobody@x"};
    EXPECT_EQ("161: 550 no such user here", smtp.Failure(inet::smtpSend));
    EXPECT_TRUE(smtp.Engine().Connected());  // still greeted: the next send starts with RSET

    smtp.SendTo() = {"a@x"};
    smtp.BCc() = {"hidden@z", "kept@z"};
    smtp.SetMessageText({"text"});
    EXPECT_EQ("", smtp.Failure(inet::smtpSend));
    EXPECT_NE(smtp.events.end(), std::find(smtp.events.begin(), smtp.events.end(), "E: 161 550 unknown"));
    ASSERT_TRUE(peer.WaitScriptDone());
    const std::string received = peer.Received();
    EXPECT_NE(std::string::npos, received.find("RCPT TO:<kept@z>\r\nDATA\r\nTo: a@x\r\nFrom: me@y\r\n\r\ntext\r\n\r\n.\r\n"));
    EXPECT_EQ(std::string::npos, received.find("hidden@z", received.find("DATA")));
}

// QUIT that meets an interrupt still closes cleanly; QUIT that is refused closes and reports.
TEST(SmtpComponentTest, DisconnectClosesWhateverTheQuitGot) {
    const struct {
        const char* name;
        Steps quit;
        std::string failure;
        bool forced;
    } cases[] = {
        {"interrupted", {Peer::ReceiveUntil("QUIT\r\n"), Peer::Gate()}, "", false},
        {"refused", Answer("QUIT", "500 stay"), "161: 500 stay", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Peer peer(Greeted() + c.quit);
        TestSMTP smtp;
        smtp.Aim(peer.port());
        smtp.SetAction(inet::smtpConnect);
        smtp.OnPITrail = [&](TtvxSMTP& sender, inet::TPIDirections direction, const std::string& text) {
            smtp.events.push_back(text);
            if (direction == inet::pidCommand && text == "QUIT" && c.failure.empty()) sender.SetAction(inet::smtpIdle);
        };
        EXPECT_EQ(c.failure, smtp.Failure(inet::smtpDisconnect));
        EXPECT_FALSE(smtp.Engine().Connected());
        EXPECT_EQ(c.failure.empty(), smtp.Engine().Interrupted());  // not the inactivity limit
        peer.OpenGate();
        EXPECT_TRUE(peer.WaitClientClosed());
        EXPECT_EQ(c.forced, std::find(smtp.events.begin(), smtp.events.end(), "Forcing disconnection from mail server.") !=
                                smtp.events.end());
        EXPECT_EQ("Disconnected.", smtp.events.back());
    }
}

TEST(SmtpComponentTest, ASendWithoutSenderOrRecipientSendsNothing) {
    Peer peer(Greeted());
    TestSMTP smtp;
    smtp.Aim(peer.port());
    smtp.SetAction(inet::smtpConnect);
    const std::size_t eventsAfterConnect = smtp.events.size();
    const struct {
        std::string from;
        TtvxSMTP::TStrings sendTo;
        std::string failure;
    } cases[] = {
        {"", {"a@x"}, "164: Please specify a sender (From)."},
        {"me@y", {}, "165: Please specify a recipient (To)."},
    };
    for (const auto& c : cases) {
        smtp.SetFrom(c.from);
        smtp.SendTo() = c.sendTo;
        EXPECT_EQ(c.failure, smtp.Failure(inet::smtpSend));
    }
    EXPECT_EQ(eventsAfterConnect, smtp.events.size());
    ASSERT_TRUE(peer.WaitScriptDone());
    EXPECT_EQ(kHelo, peer.Received());

    TestSMTP unconnected;  // no server at all: the check comes before any connection
    unconnected.SendTo() = {"a@x"};
    EXPECT_EQ("164: Please specify a sender (From).", unconnected.Failure(inet::smtpSend));
    EXPECT_TRUE(unconnected.events.empty());
}

TEST(SmtpComponentTest, ResetHeadersEmptiesTheListsAndTheFields) {
    TestSMTP smtp;
    smtp.SendTo() = {"a@x"};
    smtp.Cc() = {"b@x"};
    smtp.BCc() = {"c@x"};
    smtp.SetFrom("me@y");
    smtp.SetReplyTo("me@y");
    smtp.SetSubject("s");
    smtp.SetDate("d");
    smtp.SetMessageText({"line"});
    smtp.SetAction(inet::smtpResetHeaders);
    EXPECT_TRUE(smtp.SendTo().empty());
    EXPECT_TRUE(smtp.Cc().empty());
    EXPECT_TRUE(smtp.BCc().empty());
    EXPECT_TRUE(smtp.MessageText().empty());
    EXPECT_EQ("", smtp.From() + smtp.ReplyTo() + smtp.Subject() + smtp.Date());
}

TEST(SmtpComponentTest, ARefusedConnectionRaisesItsCodeAndReportsTheNote) {
    TestSMTP smtp;
    smtp.Aim(testsupport::ClosedLoopbackPort());
    EXPECT_EQ("127.0.0.1", smtp.MailServer());
    EXPECT_EQ("10061: [10061] Connection refused", smtp.Failure(inet::smtpConnect));
    EXPECT_EQ("E: 162 Failed to connect: [10061] Connection refused", smtp.events.back());
    EXPECT_EQ(inet::smtpIdle, smtp.Action());
}

// The engine needs the thread's message loop, which needs descriptors: with none left the
// component cannot be made.
TEST(SmtpComponentTest, CreationFailsWithMinusOneWhenTheEngineCannotBeMade) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's checks need descriptors of their own";
#endif
    rlimit old{};
    ASSERT_EQ(0, getrlimit(RLIMIT_NOFILE, &old));
    std::vector<int> held;
    std::string failure;
    rlimit tight = old;
    tight.rlim_cur = 256;
    ASSERT_EQ(0, setrlimit(RLIMIT_NOFILE, &tight));
    for (int fd; (fd = open("/dev/null", O_RDONLY | O_CLOEXEC)) >= 0;) held.push_back(fd);
    std::thread fresh([&failure] {  // a thread whose loop does not exist yet
        try {
            TtvxSMTP smtp;
        } catch (const inet::EtvxSMTP& e) {
            failure = std::to_string(e.Code) + " " + e.what();
        }
    });
    fresh.join();
    for (int fd : held) close(fd);
    ASSERT_EQ(0, setrlimit(RLIMIT_NOFILE, &old));
    EXPECT_EQ("-1 -1: Portivo SMTP: Error creating component", failure);
}

}  // namespace
