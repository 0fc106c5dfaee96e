// What the engine makes of a reply: status line, header lines, body, events and result,
// against a scripted peer that answers with exact bytes.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "inet/http_engine.h"
#include "platform/message_loop.h"
#include "tests/inet/http_recorder.h"
#include "tests/support/hostile_peer.h"
#include "tests/support/loopback_peer.h"
#include "tests/support/temp_dir.h"

namespace {

using namespace std::string_literals;
using P = inet::HttpProperty;
using Peer = testsupport::LoopbackPeer;
using Events = std::vector<std::string>;

// An engine with a GET aimed at the peer; a time-out so that a broken case fails.
struct Client {
    httptest::Recorder events;
    inet::HttpEngine engine{events};
    explicit Client(std::uint16_t port, const std::string& path = "/cam.jpg") {
        engine.SetTimeout(10000);
        EXPECT_EQ(0, engine.Set(P::URL, "http://127.0.0.1:" + std::to_string(port) + path));
    }
};

std::vector<Peer::Step> Answer(std::vector<Peer::Step> reply) {
    reply.insert(reply.begin(), Peer::ReceiveUntil("\r\n\r\n"));
    return reply;
}

std::vector<Peer::Step> OneBytePerPacket(const std::string& bytes) {
    std::vector<Peer::Step> steps;
    for (char c : bytes) {
        steps.push_back(Peer::Send(std::string(1, c)));
        steps.push_back(Peer::Delay(std::chrono::milliseconds(1)));
    }
    steps.push_back(Peer::Close());
    return steps;
}

struct ReplyCase {
    std::string name;
    std::vector<Peer::Step> reply;
    int result;
    std::string lastError;  // of a failure
    std::string statusLine;
    std::string body;
    Events events;
};

void PrintTo(const ReplyCase& c, std::ostream* os) { *os << c.name; }

const std::string kLongStatus = "HTTP/1.0 200 " + std::string(3000, 'O');
const std::string kHugeHeader = "X: " + std::string(inet::HttpEngine::kMaxHeadLine, 'x');
const Events kOpen = {"Connected 0 OK"};
Events With(std::initializer_list<std::string> middle) {
    Events e = kOpen;
    e.insert(e.end(), middle);
    e.push_back("EndTransfer 1");
    e.push_back("Disconnected 0 OK");
    return e;
}

class ReplyTest : public ::testing::TestWithParam<ReplyCase> {};

TEST_P(ReplyTest, IsTakenApart) {
    const ReplyCase& c = GetParam();
    Peer peer(Answer(c.reply));
    Client client(peer.port());
    EXPECT_EQ(c.result, client.engine.Action(inet::HttpAction::Get));
    if (c.result != 0) {
        EXPECT_EQ(c.lastError, client.engine.LastError());
    }
    EXPECT_EQ(c.statusLine, client.engine.Get(P::StatusLine));
    EXPECT_EQ(c.body, client.events.body);
    EXPECT_EQ(c.events, client.events.events);
    EXPECT_EQ(0, client.engine.GetNumber(P::Action));
}

INSTANTIATE_TEST_SUITE_P(
    Replies, ReplyTest,
    ::testing::Values(
        ReplyCase{"EveryKindOfHeaderLine",
                  {Peer::Send("HTTP/1.0 200 OK\r\nContent-Type: image/jpeg\r\nX-Two:  spaces\r\nX-None:value\r\n"
                              "\tfolded on\r\nNoColon\r\n\r\nab\0cd"s),
                   Peer::Close()},
                  0,
                  "",
                  "HTTP/1.0 200 OK",
                  "ab\0cd"s,
                  With({"Header Content-Type=image/jpeg", "Header X-Two= spaces", "Header X-None=value",
                        "Header =folded on", "Header NoColon=", "StartTransfer 1", "Transfer 1 5"})},
        ReplyCase{"NoStatusLine",
                  {Peer::Send("<html>hello\nworld"), Peer::Close()},
                  0,
                  "",
                  "",
                  "<html>hello\nworld",
                  With({"Transfer 1 17"})},
        ReplyCase{"StatusLineWithoutABlank",
                  {Peer::Send("HTTP/1.0\r\n\r\nx"), Peer::Close()},
                  151,
                  "",
                  "HTTP/1.0",
                  "x",
                  With({"StartTransfer 1", "Transfer 1 1"})},
        ReplyCase{"OneBytePerPacket",
                  OneBytePerPacket("HTTP/1.0 200 OK\r\nA: b\r\n\r\nbody"),
                  0,
                  "",
                  "HTTP/1.0 200 OK",
                  "body",
                  With({"Header A=b", "StartTransfer 1", "Transfer 1 4"})},
        ReplyCase{"CloseBeforeAnyByte", {Peer::Close()}, 0, "", "", "", With({})},
        ReplyCase{"NotModified",
                  {Peer::Send("HTTP/1.1 304 Not Modified\r\nLast-Modified: Tue, 01 Dec 2026 10:00:00 GMT\r\n\r\n"),
                   Peer::Close()},
                  151,
                  "304 Not Modified",
                  "HTTP/1.1 304 Not Modified",
                  "",
                  With({"Header Last-Modified=Tue, 01 Dec 2026 10:00:00 GMT", "StartTransfer 1"})},
        ReplyCase{"NotFoundWithABody",
                  {Peer::Send("HTTP/1.0 404 Not Found\r\n\r\nnope"), Peer::Close()},
                  151,
                  "404 Not Found",
                  "HTTP/1.0 404 Not Found",
                  "nope",
                  With({"StartTransfer 1", "Transfer 1 4"})},
        ReplyCase{"StatusLineLongerThanTheLineBuffer",
                  {Peer::Send(kLongStatus + "\r\n\r\nz"), Peer::Close()},
                  0,
                  "",
                  kLongStatus,
                  "z",
                  With({"StartTransfer 1", "Transfer 1 1"})},
        ReplyCase{"HeaderLineOverTheCap",
                  {Peer::Send("HTTP/1.0 200 OK\r\n" + kHugeHeader + "\r\n\r\nbody"), Peer::Gate()},
                  200,
                  "Out of memory.",
                  "HTTP/1.0 200 OK",
                  "",
                  With({"Error 200 Out of memory in DataIn [IPPMsg]."})},
        ReplyCase{"HeaderCutOffByTheClose",
                  {Peer::Send("HTTP/1.0 200 OK\r\nX: cut"), Peer::Close()},
                  0,
                  "",
                  "HTTP/1.0 200 OK",
                  "",
                  With({"Header X=cut"})}),
    [](const auto& info) { return info.param.name; });

// The reset is seen by a receive or by the close notice, as the timing falls: either way
// the reply is cut short and the action fails.
TEST(ReplyCloseTest, AResetAfterTheReplyFailsTheAction) {
    Peer peer(Answer({Peer::Send("HTTP/1.0 200 OK\r\n\r\nab"), Peer::Reset()}));
    Client client(peer.port());
    EXPECT_EQ(10054, client.engine.Action(inet::HttpAction::Get));
    EXPECT_EQ("[10054] Connection reset by peer", client.engine.LastError());
}

// A head that never ends, in long lines (a server that sends header lines for ever) or in
// many short ones, fails the action at the cap, with a bounded number of Header events.
TEST(ReplyHeadCapTest, AHeadPastTheCapFailsWithOutOfMemory) {
    std::string shortLines = "HTTP/1.0 200 OK\r\n";
    for (std::size_t i = 0; i <= inet::HttpEngine::kMaxHeadLines; ++i) shortLines += "A: b\r\n";
    Peer lines(Answer({Peer::Send(shortLines), Peer::Gate()}));
    testsupport::HostilePeer flood(testsupport::HostilePeer::Kind::HeaderFlood);
    for (std::uint16_t port : {lines.port(), flood.port()}) {
        SCOPED_TRACE(port == flood.port() ? "flood" : "short lines");
        Client client(port);
        EXPECT_EQ(200, client.engine.Action(inet::HttpAction::Get));
        EXPECT_EQ("Out of memory.", client.engine.LastError());
        const auto headers = std::count_if(client.events.events.begin(), client.events.events.end(),
                                           [](const std::string& e) { return e.starts_with("Header "); });
        EXPECT_LE(static_cast<std::size_t>(headers), inet::HttpEngine::kMaxHeadLines);
        EXPECT_GE(headers, 400);
        EXPECT_NE(std::find(client.events.events.begin(), client.events.events.end(),
                            "Error 200 Out of memory in DataIn [IPPMsg]."),
                  client.events.events.end());
    }
    lines.OpenGate();
}

// A peer that sends as fast as it can keeps the socket readable: the thread's own timer must
// still fire while the reply comes in, so that it can end the action.
TEST(ReplyBusySocketTest, TheThreadsTimerEndsAnEndlessFastBody) {
    testsupport::HostilePeer busy(testsupport::HostilePeer::Kind::BusySocket);
    Client client(busy.port());
    client.engine.SetTimeout(60000);
    auto& loop = platform::MessageLoop::Current();
    const auto start = std::chrono::steady_clock::now();
    std::chrono::steady_clock::duration fired{};
    const platform::TimerId timer = loop.SetTimer(std::chrono::milliseconds(200), [&] {
        fired = std::chrono::steady_clock::now() - start;
        client.engine.Action(inet::HttpAction::Idle);
    });
    EXPECT_EQ(301, client.engine.Action(inet::HttpAction::Get));
    loop.KillTimer(timer);
    EXPECT_GT(client.events.body.size(), 0u);
    // Fired on time, give or take a loaded machine; a starved timer fires seconds late.
    EXPECT_LT(fired, std::chrono::seconds(3));
}

// A HEAD reply has no body: the action ends with the head, though the server goes on sending
// (for ever here), and nothing of what follows reaches LocalFile. A reply without a status
// line ends after its first line.
TEST(ReplyHeadTest, AHeadEndsWithItsHeadWhateverFollows) {
    testsupport::TempDir temp;
    const std::filesystem::path file = temp.path() / "head.bin";
    testsupport::HostilePeer endless(testsupport::HostilePeer::Kind::EndlessBody);
    Peer garbage(Answer({Peer::Send("garbage\nmore garbage\n"), Peer::Gate()}));
    struct Case {
        const char* what;
        std::uint16_t port;
        std::string statusLine;
        std::string stored;  // in LocalFile
    };
    const Case cases[] = {
        {"a head, then bytes for ever", endless.port(), "HTTP/1.0 200 OK", ""},
        {"no status line, then nothing more", garbage.port(), "", "garbage\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Client client(c.port);
        client.engine.SetTimeout(60000);  // a HEAD that read on would end only at this
        ASSERT_EQ(0, client.engine.Set(P::LocalFile, file.string()));
        EXPECT_EQ(0, client.engine.Action(inet::HttpAction::Head));
        EXPECT_EQ(c.statusLine, client.engine.Get(P::StatusLine));
        EXPECT_EQ(c.stored, std::filesystem::exists(file) ? testsupport::ReadFile(file) : std::string());
        std::filesystem::remove(file);
    }
    EXPECT_LT(endless.BytesSent(), 64 << 20);
    garbage.OpenGate();
}

class LocalFileTest : public ::testing::Test {
protected:
    testsupport::TempDir temp;
    std::filesystem::path file = temp.path() / "reply.bin";
};

TEST_F(LocalFileTest, TheBodyIsWrittenAndAnEmptyBodyCreatesNoFile) {
    std::string body(10000, '\0');
    for (std::size_t i = 0; i < body.size(); ++i) body[i] = static_cast<char>(i * 7);
    Peer peer(Answer({Peer::Send("HTTP/1.0 200 OK\r\n\r\n" + body), Peer::Close()}));
    Client client(peer.port());
    testsupport::WriteFile(file, "older and longer contents than nothing at all");
    ASSERT_EQ(0, client.engine.Set(P::LocalFile, file.string()));
    ASSERT_EQ(0, client.engine.Action(inet::HttpAction::Get));
    EXPECT_TRUE(testsupport::ReadFile(file) == body);
    EXPECT_TRUE(client.events.body == body);

    testsupport::WriteFile(file, "kept");
    Peer empty(Answer({Peer::Send("HTTP/1.0 304 Not Modified\r\n\r\n"), Peer::Close()}));
    ASSERT_EQ(0, client.engine.Set(P::URL, "http://127.0.0.1:" + std::to_string(empty.port()) + "/"));
    EXPECT_EQ(151, client.engine.Action(inet::HttpAction::Get));
    EXPECT_EQ("kept", testsupport::ReadFile(file));
}

TEST_F(LocalFileTest, AFileThatCannotBeCreatedFailsTheActionOnce) {
    Peer peer(Answer({Peer::Send("HTTP/1.0 200 OK\r\n\r\n" + std::string(6000, 'b')), Peer::Close()}));
    Client client(peer.port());
    ASSERT_EQ(0, client.engine.Set(P::LocalFile, (temp.path() / "missing" / "reply.bin").string()));
    EXPECT_EQ(302, client.engine.Action(inet::HttpAction::Get));
    EXPECT_EQ("Can't open local file for writing.", client.engine.LastError());
    EXPECT_EQ(6000u, client.events.body.size());  // the events still carry the body
    EXPECT_EQ(1, std::count(client.events.events.begin(), client.events.events.end(),
                            "Error 302 Can't open local file for writing."));
}

// A file size limit makes a write fail part way; what was written must stay, and the
// action must not report success.
TEST_F(LocalFileTest, AFailedWriteFailsTheActionAndNoLaterChunkTruncatesTheFile) {
    std::string body(20000, '\0');
    for (std::size_t i = 0; i < body.size(); ++i) body[i] = static_cast<char>('a' + i % 26);
    Peer peer(Answer({Peer::Send("HTTP/1.0 200 OK\r\n\r\n" + body), Peer::Close()}));
    Client client(peer.port());
    ASSERT_EQ(0, client.engine.Set(P::LocalFile, file.string()));

    rlimit old{};
    ASSERT_EQ(0, getrlimit(RLIMIT_FSIZE, &old));
    auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 5000;
    ASSERT_EQ(0, setrlimit(RLIMIT_FSIZE, &small));
    int result = client.engine.Action(inet::HttpAction::Get);
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(7, result);
    EXPECT_EQ("Error writing to LocalFile", client.engine.LastError());
    EXPECT_EQ(body.substr(0, 5000), testsupport::ReadFile(file));
    EXPECT_TRUE(client.events.body == body);
    EXPECT_EQ(1, std::count(client.events.events.begin(), client.events.events.end(),
                            "Error 7 Error writing to LocalFile"));
}

TEST(UploadTest, PostWithDataAndAFileSendsBothAndReportsEachChunkInOrder) {
    testsupport::TempDir temp;
    std::string data(5000, '\0');
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i % 251);
    testsupport::WriteFile(temp.path() / "up.jpg", data);
    Peer peer({Peer::ReceiveUntil("\r\n\r\n"), Peer::ReceiveBytes(3 + data.size()),
               Peer::Send("HTTP/1.0 201 Created\r\nA: b\r\n\r\nok"), Peer::Close()});
    Client client(peer.port(), "/up");
    ASSERT_EQ(0, client.engine.Set(P::UserAgent, ""));
    ASSERT_EQ(0, client.engine.Set(P::PostData, "pre"));
    ASSERT_EQ(0, client.engine.Set(P::AttachedFile, (temp.path() / "up.jpg").string()));
    ASSERT_EQ(0, client.engine.Action(inet::HttpAction::Post)) << client.engine.LastError();
    EXPECT_EQ((Events{"Connected 0 OK", "StartTransfer 0", "Transfer 0 2048", "Transfer 0 4096", "Transfer 0 5000",
                      "EndTransfer 0", "Header A=b", "StartTransfer 1", "Transfer 1 2", "EndTransfer 1",
                      "Disconnected 0 OK"}),
              client.events.events);
    ASSERT_TRUE(peer.WaitClientClosed());
    EXPECT_TRUE(peer.Received() == "POST /up HTTP/1.0\r\nHost: 127.0.0.1\r\nContent-Length: 5003\r\n\r\npre" + data);
}

TEST(UploadTest, PostDataAloneIsStartedAndEndedWithoutChunks) {
    Peer peer({Peer::ReceiveUntil("\r\n\r\n"), Peer::ReceiveBytes(5), Peer::Send("HTTP/1.0 200 OK\r\n\r\n"),
               Peer::Close()});
    Client client(peer.port(), "/form");
    ASSERT_EQ(0, client.engine.Set(P::PostData, "a=1&b"));
    ASSERT_EQ(0, client.engine.Action(inet::HttpAction::Post));
    EXPECT_EQ((Events{"Connected 0 OK", "StartTransfer 0", "EndTransfer 0", "StartTransfer 1", "EndTransfer 1",
                      "Disconnected 0 OK"}),
              client.events.events);
}

// A reply that refuses the upload early stops it: the rest of the file is not sent.
TEST(UploadTest, AFailureStatusThatArrivesDuringTheUploadStopsIt) {
    testsupport::TempDir temp;
    testsupport::WriteFile(temp.path() / "big.bin", std::string(32 << 20, 'u'));
    Peer peer({Peer::ReceiveUntil("\r\n\r\n"), Peer::Send("HTTP/1.0 413 Too Large\r\n\r\n"), Peer::Gate()});
    Client client(peer.port(), "/up");
    ASSERT_EQ(0, client.engine.SetSendBufferSize(4096));
    ASSERT_EQ(0, client.engine.Set(P::AttachedFile, (temp.path() / "big.bin").string()));
    EXPECT_EQ(151, client.engine.Action(inet::HttpAction::Put));
    EXPECT_EQ("413 Too Large", client.engine.LastError());
    EXPECT_EQ("EndTransfer 0", client.events.events[client.events.events.size() - 3]);
    peer.OpenGate();
}

}  // namespace
