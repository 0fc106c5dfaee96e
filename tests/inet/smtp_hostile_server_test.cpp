// The SMTP engine against servers that misbehave: a reply that never ends, a reply line too
// long to keep, and a connection reset, however the reset is first noticed.

#include "inet/smtp_engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "inet/engine_errors.h"
#include "inet/tvx_smtp.h"
#include "tests/inet/smtp_test_support.h"
#include "tests/support/loop_pump.h"

namespace {

using namespace smtptest;
using inet::SmtpAction;
using Steps = std::vector<Peer::Step>;
using namespace std::chrono_literals;

const std::string kEhlo = "EHLO " + HeloName();

std::size_t ErrorEvents(const TestSMTP& smtp) {
    return static_cast<std::size_t>(std::count_if(smtp.events.begin(), smtp.events.end(),
                                                  [](const std::string& e) { return e.rfind("E: ", 0) == 0; }));
}

TEST(SmtpHostileServerTest, AReplyThatKeepsContinuingEndsAtTheExchangeLimit) {
    EXPECT_GT(inet::SmtpEngine::kExchangeLimitMs, inet::SmtpEngine::kInactivityLimitMs);
    // Continuation lines every 10 ms for longer than the test waits: each one re-arms the
    // inactivity limit, so only a limit on the whole exchange can end it.
    Steps script{Peer::Send("220 hi\r\n"), Peer::ReceiveUntil(kEhlo + "\r\n")};
    for (int i = 0; i < 3000; ++i) {
        script.push_back(Peer::Send("250-more\r\n"));
        script.push_back(Peer::Delay(10ms));
    }
    Peer peer(script);
    TestSMTP smtp;
    smtp.Aim(peer.port());
    smtp.Engine().SetExchangeLimit(500);
    EXPECT_EQ(301, smtp.Engine().DoAction(SmtpAction::Connect));
    EXPECT_FALSE(peer.WaitScriptDone(0ms));  // the server was still sending
    EXPECT_FALSE(smtp.Engine().Connected());
    EXPECT_TRUE(peer.WaitClientClosed());
}

TEST(SmtpHostileServerTest, AReplyLineTooLongToKeepClosesTheConnection) {
    Peer peer({Peer::Send("220 hi\r\n"), Peer::ReceiveUntil(kEhlo + "\r\n"),
               Peer::Send("250-" + std::string(inet::MessageConnection::kMaxReplyLength + 4096, 'x'))});
    TestSMTP smtp;
    smtp.Aim(peer.port());
    EXPECT_EQ(200, smtp.Engine().DoAction(SmtpAction::Connect));
    EXPECT_FALSE(smtp.Engine().Connected());
    EXPECT_TRUE(peer.WaitClientClosed());  // not left open in the middle of the line
}

TEST(SmtpHostileServerTest, AResetFiresTheErrorEventHoweverItIsFirstSeen) {
    const Steps waited{Peer::Send("220 hi\r\n"), Peer::ReceiveUntil(kEhlo + "\r\n"), Peer::Reset()};
    const Steps idle{Peer::Send("220 hi\r\n"), Peer::ReceiveUntil(kEhlo + "\r\n"), Peer::Send("250 b\r\n"),
                     Peer::Gate(), Peer::Reset()};
    const struct {
        const char* name;
        const Steps& script;
        bool connected;       // the connect is answered before the reset
        bool pumpAfterReset;  // the loop sees the reset before the next command is sent
    } cases[] = {
        {"while a reply is awaited", waited, false, false},
        {"between actions, seen by the next send", idle, true, false},
        {"between actions, seen by the loop", idle, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Peer peer(c.script);
        TestSMTP smtp;
        smtp.Aim(peer.port());
        smtp.Engine().SetTimeout(5000);  // longer than any reset takes to arrive
        const int connect = smtp.Engine().DoAction(SmtpAction::Connect);
        if (!c.connected) {
            EXPECT_NE(0, connect);  // the reset ends the connect itself
        } else {
            ASSERT_EQ(0, connect) << ::testing::PrintToString(smtp.events);
            peer.OpenGate();
            ASSERT_TRUE(peer.WaitScriptDone());
            if (c.pumpAfterReset) {
                EXPECT_TRUE(looptest::PumpUntil([&] { return !smtp.Engine().Connected(); }, 5s));
            } else {
                std::this_thread::sleep_for(100ms);  // the reset reaches this side before the send
                EXPECT_NE(0, smtp.Engine().DoAction(SmtpAction::Verify));
            }
        }
        looptest::PumpPending();
        EXPECT_FALSE(smtp.Engine().Connected());
        EXPECT_EQ(1u, ErrorEvents(smtp)) << ::testing::PrintToString(smtp.events);
    }
}

}  // namespace
