#include "platform/socket_async.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/socket_errors.h"
#include "tests/support/loop_pump.h"
#include "tests/support/loopback_peer.h"

namespace {

using platform::MessageLoop;
using Peer = testsupport::LoopbackPeer;
constexpr std::uint32_t kSocketMessage = 0x465;
constexpr std::uint32_t kAllEvents = platform::kFdRead | platform::kFdWrite | platform::kFdConnect | platform::kFdClose;

struct Note {
    platform::SocketHandle socket;
    std::uint32_t event;
    int error;
    bool operator==(const Note&) const = default;
};

// One target that records every socket notification it gets.
class SocketNotifications : public ::testing::Test {
protected:
    void SetUp() override {
        target_ = loop().CreateTarget([this](const platform::Message& m) {
            ASSERT_EQ(kSocketMessage, m.id);
            notes_.push_back({static_cast<platform::SocketHandle>(m.wParam), platform::SelectEvent(m.lParam),
                              platform::SelectError(m.lParam)});
        });
    }
    void TearDown() override {
        for (auto s : open_) platform::SocketClose(s);
        loop().DestroyTarget(target_);
    }
    static MessageLoop& loop() { return MessageLoop::Current(); }

    platform::SocketHandle Connect(std::uint16_t port) {
        platform::SocketHandle s;
        EXPECT_EQ(0, platform::SocketCreate(s));
        open_.push_back(s);
        EXPECT_EQ(0, platform::SocketAsyncSelect(s, target_, kSocketMessage, kAllEvents));
        EXPECT_EQ(platform::wsa::kWouldBlock, platform::SocketConnect(s, htonl(INADDR_LOOPBACK), port));
        return s;
    }
    bool WaitFor(std::uint32_t event, std::size_t count = 1) {
        return looptest::PumpUntil([&] { return Count(event) >= count; });
    }
    std::size_t Count(std::uint32_t event) const {
        std::size_t n = 0;
        for (auto& note : notes_) n += note.event == event;
        return n;
    }
    // Everything pending handled, and the loop's descriptor quiet: nothing more will come
    // until something new happens on a socket.
    void ExpectQuiet() {
        looptest::PumpPending();
        EXPECT_FALSE(looptest::LoopReadable());
    }
    std::string Receive(platform::SocketHandle s, std::size_t max) {
        std::string bytes(max, '\0');
        std::size_t got = 0;
        EXPECT_EQ(0, platform::SocketRecv(s, bytes.data(), max, got));
        bytes.resize(got);
        return bytes;
    }
    void SendAll(platform::SocketHandle s, const std::string& bytes) {
        std::size_t sent = 0;
        ASSERT_EQ(0, platform::SocketSend(s, bytes.data(), bytes.size(), sent));
        ASSERT_EQ(bytes.size(), sent);
    }

    platform::TargetId target_ = 0;
    std::vector<Note> notes_;
    std::vector<platform::SocketHandle> open_;
};

TEST_F(SocketNotifications, ConnectToAClosedPortGivesOneConnectWithRefused) {
    auto s = Connect(testsupport::ClosedLoopbackPort());
    ASSERT_TRUE(WaitFor(platform::kFdConnect));
    ExpectQuiet();
    EXPECT_EQ((std::vector<Note>{{s, platform::kFdConnect, 10061}}), notes_);
}

TEST_F(SocketNotifications, ReadIsPostedOnceUntilTheNextReceive) {
    Peer peer({Peer::Send("abc"), Peer::Gate(), Peer::Send("def")});
    auto s = Connect(peer.port());
    ASSERT_TRUE(WaitFor(platform::kFdRead));
    ExpectQuiet();
    EXPECT_EQ((std::vector<Note>{{s, platform::kFdConnect, 0}, {s, platform::kFdWrite, 0}, {s, platform::kFdRead, 0}}),
              notes_);

    EXPECT_EQ("a", Receive(s, 1));  // data is left: the next receive is announced again
    ASSERT_TRUE(WaitFor(platform::kFdRead, 2));
    EXPECT_EQ("bc", Receive(s, 10));
    ExpectQuiet();
    EXPECT_EQ(2u, Count(platform::kFdRead));

    peer.OpenGate();
    ASSERT_TRUE(WaitFor(platform::kFdRead, 3));
    EXPECT_EQ("def", Receive(s, 10));
    ExpectQuiet();
    EXPECT_EQ(3u, Count(platform::kFdRead));
}

TEST_F(SocketNotifications, CloseComesOnceAfterTheUnreadDataWithTheCloseCode) {
    struct Case {
        const char* name;
        std::vector<Peer::Step> script;
        std::string data;  // what is still to be read when the peer goes
        int error;
        int sendAfter;  // a send after the close notice (the peer still reads after its FIN)
        int receiveAfter;  // the first receive after the close notice: the reset once, else the end
    };
    const std::vector<Case> cases = {
        {"orderly", {Peer::ReceiveUntil("go"), Peer::Close()}, "", 0, 0, 0},
        {"orderly after data", {Peer::ReceiveUntil("go"), Peer::Send("xyz"), Peer::Close()}, "xyz", 0, 0, 0},
        {"reset", {Peer::ReceiveUntil("go"), Peer::Reset()}, "", 10054, 10054, 10054},  // and no SIGPIPE
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        notes_.clear();
        Peer peer(c.script);
        auto s = Connect(peer.port());
        ASSERT_TRUE(WaitFor(platform::kFdConnect));
        SendAll(s, "go");
        ASSERT_TRUE(peer.WaitScriptDone());
        if (!c.data.empty()) {
            ASSERT_TRUE(WaitFor(platform::kFdRead));
            ExpectQuiet();
            EXPECT_EQ(0u, Count(platform::kFdClose));  // not before the data was read
            EXPECT_EQ(c.data, Receive(s, 100));
        }
        ASSERT_TRUE(WaitFor(platform::kFdClose));
        ExpectQuiet();
        EXPECT_EQ(1u, Count(platform::kFdClose));
        EXPECT_EQ((Note{s, platform::kFdClose, c.error}), notes_.back());
        // The notice took the error from the socket; a receive made before the notice is handled
        // (a read asked for meanwhile) must still see the reset, not an orderly end.
        char byte;
        std::size_t got = 1;
        EXPECT_EQ(c.receiveAfter, platform::SocketRecv(s, &byte, 1, got));
        EXPECT_EQ(0u, got);
        EXPECT_EQ(0, platform::SocketRecv(s, &byte, 1, got));  // then the end, as after a reset met by a receive
        std::size_t sent = 0;
        EXPECT_EQ(c.sendAfter, platform::SocketSend(s, "x", 1, sent));
        EXPECT_EQ(0, platform::SocketClose(s));
        open_.clear();
    }
}

TEST_F(SocketNotifications, ANotificationOfAClosedSocketNeverReachesItsSuccessor) {
    Peer first({Peer::Gate(), Peer::Send("abc")});
    auto old = Connect(first.port());
    ASSERT_TRUE(WaitFor(platform::kFdWrite));
    looptest::PumpPending();
    first.OpenGate();
    ASSERT_TRUE(looptest::LoopReadable(5000));  // the data has arrived
    ASSERT_EQ(MessageLoop::Step::Dispatched, loop().ProcessOne());  // FD_READ now queued, undelivered
    EXPECT_EQ(0u, Count(platform::kFdRead));
    EXPECT_EQ(0, platform::SocketClose(old));
    open_.clear();
    notes_.clear();

    Peer second({Peer::Send("def")});
    auto next = Connect(second.port());  // most likely on the same descriptor
    EXPECT_NE(old, next);
    ASSERT_TRUE(WaitFor(platform::kFdRead));
    ExpectQuiet();
    for (auto& note : notes_) EXPECT_EQ(next, note.socket);
    EXPECT_EQ(1u, Count(platform::kFdRead));
    EXPECT_EQ(platform::wsa::kNotSocket, platform::SocketClose(old));
}

TEST_F(SocketNotifications, WriteIsAnnouncedAgainAfterASendThatCouldNotTakeEverything) {
    Peer peer({Peer::Gate()});
    auto s = Connect(peer.port());
    ASSERT_TRUE(WaitFor(platform::kFdWrite));
    ASSERT_EQ(0, platform::SocketSetOption(s, SOL_SOCKET, SO_SNDBUF, 4096));
    std::string block(64 * 1024, 'x');
    std::size_t sent = 0;
    int code = 0;
    while (code == 0) code = platform::SocketSend(s, block.data(), block.size(), sent);
    EXPECT_EQ(platform::wsa::kWouldBlock, code);  // both sides' buffers are full
    EXPECT_EQ(0u, sent);
    ExpectQuiet();
    std::size_t before = Count(platform::kFdWrite);
    peer.OpenGate();  // the peer reads on until the end: room again
    ASSERT_TRUE(WaitFor(platform::kFdWrite, before + 1));
}

TEST_F(SocketNotifications, SocketsOfAnotherThreadAreNotSocketsHere) {
    platform::SocketHandle s;
    ASSERT_EQ(0, platform::SocketCreate(s));
    open_.push_back(s);
    int code = 0;
    std::thread([&] {
        std::size_t got;
        char c;
        code = platform::SocketRecv(s, &c, 1, got);
    }).join();
    EXPECT_EQ(platform::wsa::kNotSocket, code);
}

}  // namespace

namespace {

TEST(SocketErrors, SystemErrorsBecomeTheWinsockCodesTheComponentsReport) {
    struct Case {
        int error;
        bool lookUp;  // a getaddrinfo result rather than an errno
        int code;
    };
    for (const Case& c : {Case{ECONNREFUSED, false, 10061}, Case{ETIMEDOUT, false, 10060},
                          Case{ECONNRESET, false, 10054}, Case{EPIPE, false, 10054}, Case{EAGAIN, false, 10035},
                          Case{ENETUNREACH, false, 10051}, Case{EAI_NONAME, true, 11001},
                          Case{EAI_AGAIN, true, 11002}, Case{EAI_FAIL, true, 11003}, Case{EAI_NODATA, true, 11004}}) {
        EXPECT_EQ(c.code, c.lookUp ? platform::wsa::FromAddrInfo(c.error) : platform::wsa::FromErrno(c.error))
            << c.error;
    }
}

}  // namespace
