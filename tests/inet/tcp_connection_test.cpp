#include "inet/tcp_connection.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "inet/engine_errors.h"
#include "platform/socket_resolver.h"
#include "tests/inet/recording_connection.h"
#include "tests/support/loop_pump.h"
#include "tests/support/loopback_peer.h"

namespace {

using inettest::Connected;
using inettest::Data;
using inettest::Disconnected;
using inettest::Event;
using inettest::RecordingTcp;
using Peer = testsupport::LoopbackPeer;
using Events = std::vector<Event>;

void Aim(inet::TcpConnection& c, std::uint16_t port) {
    ASSERT_EQ(0, c.SetRemoteHost(Peer::host()));
    ASSERT_EQ(0, c.SetRemotePort(port));
}

bool PumpUntilDisconnected(RecordingTcp& c) {
    return looptest::PumpUntil([&] { return c.Count(Event::Kind::Disconnected) > 0; });
}

TEST(TcpConnection, PropertiesRefuseChangesWhileASocketIsOpen) {
    Peer peer({});
    RecordingTcp c;
    Aim(c, peer.port());
    ASSERT_EQ(0, c.Connect(true));
    struct Case {
        const char* name;
        std::function<int()> change;
        int code;
        const char* text;
    };
    const std::vector<Case> cases = {
        {"RemotePort", [&] { return c.SetRemotePort(81); }, 100, inet::kTextRemotePortBusy},
        {"RemoteHost", [&] { return c.SetRemoteHost("127.0.0.2"); }, 101, inet::kTextRemoteHostBusy},
        {"Connect", [&] { return c.Connect(true); }, 104, inet::kTextAlreadyConnected},
        {"LocalPort", [&] { return c.SetLocalPort(5000); }, 106, inet::kTextLocalPortBusy},
        {"MaxLineSize", [&] { return c.SetMaxLineSize(100); }, 112, inet::kTextMaxLineSizeBusy},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        EXPECT_EQ(k.code, k.change());
        EXPECT_EQ(k.text, c.LastError());
    }
    EXPECT_EQ(peer.port(), c.RemotePort());
    EXPECT_EQ("127.0.0.1", c.GetRemoteHost());
    EXPECT_EQ(inet::TcpConnection::kDefaultMaxLineSize, c.MaxLineSize());
}

TEST(TcpConnection, ConnectNeedsAnAddressAndAPort) {
    RecordingTcp c;
    EXPECT_EQ(102, c.Connect(true));
    EXPECT_EQ("The RemoteHost address is invalid (0.0.0.0).", c.LastError());
    ASSERT_EQ(0, c.SetRemoteHost("127.0.0.1"));
    EXPECT_EQ(116, c.Connect(true));
    EXPECT_EQ("RemotePort can't be zero. Please specify a valid service port number.", c.LastError());
    EXPECT_EQ(platform::kNoSocket, c.Socket());
}

TEST(TcpConnection, AHostThatDoesNotResolveLeavesNoAddress) {
    std::string asked;
    auto old = platform::SetHostResolver([&](const std::string& host, std::uint32_t&) {
        asked = host;
        return 11001;
    });
    RecordingTcp c;
    EXPECT_EQ(11001, c.SetRemoteHost("cam.example"));
    EXPECT_EQ("cam.example", asked);
    EXPECT_EQ("", c.GetRemoteHost());
    ASSERT_EQ(0, c.SetRemotePort(80));
    EXPECT_EQ(102, c.Connect(true));
    EXPECT_EQ(0, c.SetRemoteHost("10.1.2.3"));  // a dotted address is never looked up
    EXPECT_EQ("10.1.2.3", c.GetRemoteHost());
    platform::SetHostResolver(old);
}

TEST(TcpConnection, ARefusedConnectIsReportedOnceAndLeavesItIdle) {
    RecordingTcp c;
    Aim(c, testsupport::ClosedLoopbackPort());
    ASSERT_EQ(0, c.Connect(true));
    ASSERT_TRUE(looptest::PumpUntil([&] { return !c.events.empty(); }));
    looptest::PumpPending();
    EXPECT_EQ((Events{Connected(10061)}), c.events);
    EXPECT_FALSE(c.Connected());
    EXPECT_EQ(platform::kNoSocket, c.Socket());
}

TEST(TcpConnection, ALineLongerThanMaxLineSizeArrivesInPieces) {
    Peer peer({Peer::Send("0123456789ABCDEFGHIJ\r\nok\r\n"), Peer::Close()});
    RecordingTcp c;
    Aim(c, peer.port());
    ASSERT_EQ(0, c.SetMaxLineSize(8));
    ASSERT_EQ(0, c.SetEOL("\r\n"));
    ASSERT_EQ(0, c.Connect(true));
    ASSERT_TRUE(PumpUntilDisconnected(c));
    EXPECT_EQ((Events{Connected(0), Data("01234567", false), Data("89ABCDEF", false), Data("GHIJ", true),
                      Data("ok", true), Disconnected(0)}),
              c.events);
}

TEST(TcpConnection, DataStillUnreadAtTheCloseComesBeforeTheDisconnect) {
    Peer peer({Peer::ReceiveUntil("go"), Peer::Send("last line\r\npartial"), Peer::Close()});
    RecordingTcp c;
    Aim(c, peer.port());
    ASSERT_EQ(0, c.SetEOL("\r\n"));
    ASSERT_EQ(0, c.Connect(true));
    ASSERT_TRUE(looptest::PumpUntil([&] { return c.Connected(); }));
    ASSERT_EQ(0, c.Send("go", 2));
    ASSERT_TRUE(PumpUntilDisconnected(c));
    EXPECT_EQ((Events{Connected(0), Data("last line", true), Data("partial", false), Disconnected(0)}), c.events);
}

TEST(TcpConnection, AResetEndsTheConnectionWith10054) {
    Peer peer({Peer::ReceiveUntil("go"), Peer::Reset()});
    RecordingTcp c;
    Aim(c, peer.port());
    ASSERT_EQ(0, c.Connect(true));
    ASSERT_TRUE(looptest::PumpUntil([&] { return c.Connected(); }));
    ASSERT_EQ(0, c.Send("go", 2));
    ASSERT_TRUE(PumpUntilDisconnected(c));
    looptest::PumpPending();
    EXPECT_EQ(1u, c.Count(Event::Kind::Disconnected));
    EXPECT_EQ(Disconnected(10054), c.events.back());
    EXPECT_EQ(platform::kNoSocket, c.Socket());
}

TEST(TcpConnection, AReadNoticeBeforeTheConnectNoticeReportsTheConnectionFirst) {
    Peer peer({Peer::Send("hello\r\n")});
    RecordingTcp c;
    Aim(c, peer.port());
    ASSERT_EQ(0, c.SetEOL("\r\n"));
    ASSERT_EQ(0, c.Connect(true));
    c.PostReadNotice();  // queued ahead of the socket's own connect notice
    ASSERT_TRUE(looptest::PumpUntil([&] { return c.Count(Event::Kind::Data) > 0; }));
    looptest::PumpPending();
    EXPECT_EQ((Events{Connected(0), Data("hello", true)}), c.events);
}

TEST(TcpConnection, ACloseAskedForDuringAReadIsCompletedWhenTheReadEnds) {
    struct Case {
        const char* name;
        bool alsoPause;  // the handler also switches AcceptData off, which ends the read early
    };
    for (const Case& k : {Case{"close", false}, Case{"close and pause", true}}) {
        SCOPED_TRACE(k.name);
        Peer peer({Peer::Send("one\r\ntwo\r\nthree\r\n")});
        RecordingTcp c;
        Aim(c, peer.port());
        ASSERT_EQ(0, c.SetEOL("\r\n"));
        c.onData = [&](const std::string&, bool) {
            EXPECT_EQ(0, c.Connect(false));
            EXPECT_NE(platform::kNoSocket, c.Socket());  // kept until the read ends
            if (k.alsoPause) c.SetAcceptData(false);
        };
        ASSERT_EQ(0, c.Connect(true));
        ASSERT_TRUE(PumpUntilDisconnected(c));
        EXPECT_EQ((Events{Connected(0), Data("one", true), Disconnected(0)}), c.events);
        EXPECT_EQ(platform::kNoSocket, c.Socket());
        EXPECT_TRUE(peer.WaitClientClosed());
    }
}

}  // namespace
