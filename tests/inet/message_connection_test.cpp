#include "inet/message_connection.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "inet/engine_errors.h"
#include "inet/tvx_core.h"
#include "tests/inet/recording_connection.h"
#include "tests/support/loop_pump.h"
#include "tests/support/loopback_peer.h"
#include "tests/support/temp_dir.h"

namespace {

using inettest::Event;
using Peer = testsupport::LoopbackPeer;
using platform::MessageLoop;

class Connection : public inettest::Recording<inet::MessageConnection> {
public:
    std::vector<std::string> notices;
    std::vector<std::uint32_t> progress;
    int progressAnswer = 0;

protected:
    void ConnectedText(int code, const std::string& text) override {
        notices.push_back("connected " + std::to_string(code) + " " + text);
    }
    void DisconnectedText(int code, const std::string& text) override {
        notices.push_back("disconnected " + std::to_string(code) + " " + text);
    }
    int Progress(std::uint32_t bytes) override {
        progress.push_back(bytes);
        return progressAnswer;
    }
};

// A component over one connection: runs an action and raises its failure.
class Component : public inet::TtvxCore {
public:
    explicit Component(inet::MessageConnection& c) : c_(c) {}
    void Run(const std::function<int()>& action) {
        inet::SocketCore::ActionScope scope(c_);
        c_.ClearLastError();
        if (int code = action()) RaiseError(c_.SetError(code));
    }

protected:
    std::string EngineLastError() const override { return c_.LastError(); }

private:
    inet::MessageConnection& c_;
};

class MessageConnectionTest : public ::testing::Test {
protected:
    static MessageLoop& loop() { return MessageLoop::Current(); }
    void Open(Connection& c, std::uint16_t port) {
        ASSERT_EQ(0, c.SetRemoteHost(Peer::host()));
        ASSERT_EQ(0, c.SetRemotePort(port));
        ASSERT_EQ(0, c.SetEOL("\r\n"));
        c.SetTimeout(10000);  // a broken test fails instead of hanging
        c.SetDeadline();
        ASSERT_EQ(0, c.ConnectAndWait());
    }
    // Runs fn from a loop timer after ms, once.
    platform::TimerId After(int ms, std::function<void()> fn) {
        auto id = std::make_shared<platform::TimerId>();
        *id = loop().SetTimer(std::chrono::milliseconds(ms), [this, id, fn] {
            loop().KillTimer(*id);
            fn();
        });
        timers_.push_back(*id);
        return *id;
    }
    void TearDown() override {
        for (auto t : timers_) loop().KillTimer(t);
    }
    std::vector<platform::TimerId> timers_;
};

TEST_F(MessageConnectionTest, OneReplyLinePerWaitAndTheServersCloseEndsTheNextWait) {
    Peer peer({Peer::Send("220 hello\r\n"), Peer::ReceiveUntil("EHLO me\r\n"), Peer::Send("250-first\r\n250 second\r\n"),
               Peer::ReceiveUntil("QUIT\r\n"), Peer::Send("221 bye\r\n"), Peer::Close()});
    Connection c;
    Open(c, peer.port());
    EXPECT_EQ((std::vector<std::string>{"connected 0 OK"}), c.notices);
    ASSERT_EQ(0, c.SendCommand(""));
    EXPECT_EQ("220 hello", c.LastReply().str());
    ASSERT_EQ(0, c.SendCommand("EHLO", "me"));
    EXPECT_EQ("250-first", c.LastReply().str());
    ASSERT_EQ(0, c.WaitReply());
    EXPECT_EQ("250 second", c.LastReply().str());
    ASSERT_EQ(0, c.SendCommand("QUIT"));
    EXPECT_EQ("221 bye", c.LastReply().str());
    EXPECT_EQ(301, c.WaitReply());
    EXPECT_FALSE(c.Connected());
    EXPECT_EQ("disconnected 0 OK", c.notices.back());
    EXPECT_TRUE(peer.WaitScriptDone());
    EXPECT_EQ("EHLO me\r\nQUIT\r\n", peer.Received());
}

// A step that may not wait drains: it runs what is pending, one item a step, and ends the drain
// once nothing is, instead of polling an empty loop.
TEST_F(MessageConnectionTest, AStepWithoutWaitingRunsWhatIsPendingAndEndsTheDrainWhenNothingIs) {
    Connection c;
    inet::SocketCore::ActionScope scope(c);
    std::vector<int> ran;
    loop().PostTask([&] { ran.push_back(1); });
    loop().PostTask([&] { ran.push_back(2); });
    EXPECT_TRUE(c.WaitStep(0));
    EXPECT_TRUE(c.WaitStep(0));
    EXPECT_EQ((std::vector<int>{1, 2}), ran);
    EXPECT_FALSE(c.WaitStep(0));
    EXPECT_EQ("", c.LastError());
}

TEST_F(MessageConnectionTest, AWaitForAReplyOnAClosedConnectionGives301) {
    Peer peer({Peer::Send("220 hi\r\n"), Peer::Close()});
    Connection c;
    Open(c, peer.port());
    ASSERT_EQ(0, c.SendCommand(""));
    ASSERT_TRUE(looptest::PumpUntil([&] { return !c.Connected(); }));
    Component component(c);
    try {
        component.Run([&] { return c.WaitReply(); });
        ADD_FAILURE() << "no exception";
    } catch (const inet::ETarvixBase& e) {
        EXPECT_EQ(301, e.Code);
        EXPECT_STREQ("301: Interrupted.", e.what());
    }
}

TEST_F(MessageConnectionTest, ALineInPiecesIsJoinedInLastReply) {
    Peer peer({Peer::Send("250 a reply longer than the line buffer\r\n")});
    Connection c;
    ASSERT_EQ(0, c.SetMaxLineSize(8));
    Open(c, peer.port());
    ASSERT_EQ(0, c.WaitReply());
    EXPECT_EQ("250 a reply longer than the line buffer", c.LastReply().str());
    EXPECT_EQ(0u, c.Count(Event::Kind::Error));
}

TEST_F(MessageConnectionTest, AReplyLineThatNeverEndsFailsInsteadOfGrowing) {
    Peer peer({Peer::Send(std::string(inet::MessageConnection::kMaxReplyLength + 4096, 'x')), Peer::Gate()});
    Connection c;
    Open(c, peer.port());
    EXPECT_EQ(200, c.WaitReply());
    EXPECT_LE(c.LastReply().size(), inet::MessageConnection::kMaxReplyLength);
    EXPECT_EQ(inettest::Error(200, "Out of memory in DataIn [IPPMsg]."), c.events.back());
    peer.OpenGate();
}

TEST_F(MessageConnectionTest, APartialSendGives10035AndSendAllFinishesTheRest) {
    Peer peer({Peer::Gate(), Peer::ReceiveBytes(1 << 20)});
    Connection c;
    ASSERT_EQ(0, c.SetSendBufferSize(4096));
    Open(c, peer.port());
    std::string data(1 << 20, '\0');
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>('a' + i % 26);
    ASSERT_EQ(10035, c.Send(data.data(), data.size()));
    std::size_t first = c.BytesSent();
    EXPECT_LT(first, data.size());
    peer.OpenGate();
    ASSERT_EQ(0, c.SendAll(data.data() + first, data.size() - first));
    ASSERT_TRUE(peer.WaitScriptDone());
    EXPECT_TRUE(peer.Received() == data);
}

TEST_F(MessageConnectionTest, SendAllReportsProgressOnlyDuringATransferAndStopsOnItsAnswer) {
    Peer peer({Peer::Gate()});  // never reads
    Connection c;
    ASSERT_EQ(0, c.SetSendBufferSize(4096));
    Open(c, peer.port());
    std::string data(4 << 20, 'p');
    After(20, [&] { c.Interrupt(); });
    EXPECT_EQ(301, c.SendAll(data.data(), data.size()));
    EXPECT_TRUE(c.progress.empty());  // no transfer state: no progress

    Peer second({Peer::Gate()});
    Connection d;
    ASSERT_EQ(0, d.SetSendBufferSize(4096));
    Open(d, second.port());
    d.SetTransferState(1);
    d.progressAnswer = 7;
    EXPECT_EQ(7, d.SendAll(data.data(), data.size()));
    ASSERT_EQ(1u, d.progress.size());
    EXPECT_GT(d.progress[0], 0u);
    EXPECT_LT(d.progress[0], data.size());
    peer.OpenGate();
    second.OpenGate();
}

TEST_F(MessageConnectionTest, TheLocalFileIsWrittenAndClosedAtTheDisconnect) {
    testsupport::TempDir temp;
    Peer peer({Peer::Close()});
    Connection c;
    c.SetLocalFile((temp.path() / "missing" / "reply.bin").string());
    EXPECT_EQ(302, c.OpenLocalFile());
    EXPECT_EQ("Can't open local file for writing.", c.LastError());
    EXPECT_EQ(inettest::Error(302, "Can't open local file for writing."), c.events.back());

    c.SetLocalFile((temp.path() / "reply.bin").string());
    testsupport::WriteFile(c.LocalFile(), "old contents, longer than the new");
    ASSERT_EQ(0, c.OpenLocalFile());
    ASSERT_EQ(0, c.WriteLocalFile("ab\0c", 4));
    Open(c, peer.port());
    ASSERT_TRUE(looptest::PumpUntil([&] { return !c.Connected(); }));
    EXPECT_FALSE(c.LocalFileOpen());
    EXPECT_EQ(std::string("ab\0c", 4), testsupport::ReadFile(c.LocalFile()));
}

TEST_F(MessageConnectionTest, ATimersInterruptEndsSendAllWith301AndClosesTheConnection) {
    Peer peer({Peer::Gate()});  // never reads
    Connection c;
    ASSERT_EQ(0, c.SetSendBufferSize(4096));
    Open(c, peer.port());
    After(20, [&] { c.Interrupt(); });
    std::string data(4 << 20, 'z');
    EXPECT_EQ(301, c.SendAll(data.data(), data.size()));
    EXPECT_TRUE(c.Interrupted());
    EXPECT_EQ("Interrupted", c.LastError());
    EXPECT_FALSE(c.Connected());
    EXPECT_EQ(platform::kNoSocket, c.Socket());
    peer.OpenGate();
}

TEST_F(MessageConnectionTest, ATimerFiresInsideAWaitAndItsInterruptEndsTheAction) {
    Peer peer({Peer::Gate()});
    Connection c;
    Open(c, peer.port());
    bool fired = false;
    After(20, [&] {
        fired = true;
        c.Interrupt();
    });
    Component component(c);
    try {
        component.Run([&] { return c.WaitReply(); });
        ADD_FAILURE() << "no exception";
    } catch (const inet::ETarvixBase& e) {
        EXPECT_STREQ("301: Interrupted.", e.what());
    }
    EXPECT_TRUE(fired);
    EXPECT_FALSE(c.Connected());  // the interrupted exchange's connection is not reused
    peer.OpenGate();
}

TEST_F(MessageConnectionTest, AnInterruptFromAnotherThreadEndsTheWait) {
    Peer peer({Peer::Gate()});
    Connection c;
    Open(c, peer.port());
    std::atomic<bool> waiting{false};
    loop().SetForeignPump([&] { waiting.store(true); });
    std::thread stopper([&waiting, handle = c.InterruptHandle()] {
        while (!waiting.load()) std::this_thread::yield();
        handle->Request();
    });
    EXPECT_EQ(301, c.WaitReply());
    stopper.join();
    loop().SetForeignPump({});
    EXPECT_TRUE(c.Interrupted());
    EXPECT_FALSE(c.Connected());
    peer.OpenGate();
}

TEST_F(MessageConnectionTest, AQuitEndsTheWaitAndStaysPendingForTheOuterLoop) {
    Peer peer({Peer::Gate()});
    Connection c;
    Open(c, peer.port());
    After(10, [&] { loop().PostQuit(5); });
    EXPECT_EQ(301, c.WaitReply());
    EXPECT_FALSE(c.Interrupted());
    EXPECT_TRUE(loop().QuitPending());
    EXPECT_EQ(5, loop().Run());
    peer.OpenGate();
}

TEST_F(MessageConnectionTest, ATimeOutEndsTheWaitWith301) {
    Peer peer({Peer::Gate()});
    Connection c;
    Open(c, peer.port());
    c.SetTimeout(30);
    c.SetDeadline();
    EXPECT_EQ(301, c.WaitReply());
    EXPECT_EQ("Timeout.", c.LastError());
    EXPECT_EQ(301, c.SetError(301));
    EXPECT_EQ("Interrupted.", c.LastError());
    c.SetTimeout(0);
    c.SetDeadline();  // no time-out: no deadline left behind
    peer.OpenGate();
}

// A handler aborts the running exchange and starts a new one on the same connection: the
// new one runs on a new connection and cannot swallow the interrupt meant for the old one.
TEST_F(MessageConnectionTest, ANestedActionNeitherSwallowsTheInterruptNorReusesTheConnection) {
    Peer first({Peer::Gate()});
    Peer second({Peer::Send("220 second server\r\n")});
    Connection c;
    Open(c, first.port());
    platform::SocketHandle firstSocket = c.Socket();
    int nested = -1;
    bool gaveUp = false;
    After(10, [&] {
        c.Interrupt();
        c.Connect(false);
        inet::SocketCore::ActionScope scope(c);
        ASSERT_EQ(0, c.SetRemotePort(second.port()));
        c.ClearInterruptRequest();
        nested = c.ConnectAndWait();
        if (nested == 0) nested = c.SendCommand("");
    });
    After(5000, [&] { gaveUp = true; loop().PostQuit(0); });
    Component component(c);
    EXPECT_THROW(component.Run([&] { return c.WaitReply(); }), inet::ETarvixBase);
    EXPECT_FALSE(gaveUp);
    EXPECT_EQ(0, nested);
    EXPECT_EQ("220 second server", c.LastReply().str());
    EXPECT_TRUE(c.Connected());  // the nested action's connection stays
    EXPECT_NE(firstSocket, c.Socket());
    if (gaveUp) loop().Run();
    first.OpenGate();
}

TEST_F(MessageConnectionTest, ARefusedConnectGivesItsCodeAndText) {
    Connection c;
    ASSERT_EQ(0, c.SetRemoteHost(Peer::host()));
    ASSERT_EQ(0, c.SetRemotePort(testsupport::ClosedLoopbackPort()));
    EXPECT_EQ(10061, c.ConnectAndWait());
    EXPECT_EQ((std::vector<std::string>{"connected 10061 [10061] Connection refused"}), c.notices);
    EXPECT_FALSE(c.Connected());
}

}  // namespace
