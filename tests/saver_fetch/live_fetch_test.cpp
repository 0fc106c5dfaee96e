// The screen saver's live fetch against real peers: nginx with a login, tinyproxy with its
// own, and scripted servers that fail, stall or stream without end.
#include "saver/fetch/live_fetch.h"
#include "saver/fetch/live_fetch_thread.h"

#include "tests/support/loopback_peer.h"
#include "tests/support/nginx_peer.h"
#include "tests/support/peers.h"
#include "tests/support/temp_dir.h"
#include "tests/support/tinyproxy_peer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <thread>

namespace {

using namespace std::chrono_literals;
using testsupport::LoopbackPeer;

std::string Loopback(const LoopbackPeer& peer, const std::string& path = "/cam.jpg") {
    return "http://127.0.0.1:" + std::to_string(peer.port()) + path;
}

class LiveFetchTest : public ::testing::Test {
protected:
    testsupport::TempDir temp_;
};

TEST_F(LiveFetchTest, WebcamLoginSendsBasicCredentials) {
    ORVELLO_NEED_PEER("nginx");
    testsupport::NginxPeer nginx(temp_.path() / "nginx", testsupport::NginxPeer::BasicAuthLocation(
                                                              temp_.path() / "htpasswd", "/cams/", "anna", "anna-pw"));
    ASSERT_TRUE(nginx.Running());
    testsupport::WriteFile(nginx.root() / "cams" / "a.jpg", "picture bytes");

    saver::LiveRequest request;
    request.url = nginx.Url("/cams/a.jpg");
    request.referer = "http://example.test/page";
    saver::LiveFetch withoutLogin;
    const saver::LiveReply refused = withoutLogin.Get(request);
    EXPECT_FALSE(refused.ok);
    EXPECT_NE(refused.error.find("401"), std::string::npos) << refused.error;

    request.user = "anna";
    request.password = "anna-pw";
    saver::LiveFetch withLogin;
    const saver::LiveReply reply = withLogin.Get(request);
    EXPECT_TRUE(reply.ok) << reply.error;
    EXPECT_EQ(reply.body, "picture bytes");
}

TEST_F(LiveFetchTest, ProxyWithItsOwnLogin) {
    ORVELLO_NEED_PEER("nginx");
    ORVELLO_NEED_PEER("tinyproxy");
    testsupport::NginxPeer nginx(temp_.path() / "nginx", testsupport::NginxPeer::BasicAuthLocation(
                                                              temp_.path() / "htpasswd", "/cams/", "anna", "anna-pw"));
    testsupport::TinyproxyPeer proxy(temp_.path() / "proxy", "pu", "pp");
    ASSERT_TRUE(nginx.Running());
    ASSERT_TRUE(proxy.Running());
    testsupport::WriteFile(nginx.root() / "cams" / "a.jpg", "through the proxy");

    saver::LiveRequest request;
    request.url = nginx.Url("/cams/a.jpg");
    request.user = "anna";
    request.password = "anna-pw";
    request.proxyHost = "127.0.0.1";
    request.proxyPort = proxy.port();
    saver::LiveFetch refusedByProxy;  // no proxy login: the proxy asks for one
    const saver::LiveReply refused = refusedByProxy.Get(request);
    EXPECT_FALSE(refused.ok);
    EXPECT_NE(refused.error.find("407"), std::string::npos) << refused.error;

    request.proxyUser = "pu";
    request.proxyPassword = "pp";
    saver::LiveFetch fetch;
    const saver::LiveReply reply = fetch.Get(request);
    EXPECT_TRUE(reply.ok) << reply.error << proxy.Log();
    EXPECT_EQ(reply.body, "through the proxy");
}

// The request carries the saver's identification (its program and its mail address) and the
// webcam's page as Referer.
TEST_F(LiveFetchTest, ServerErrorFailsAndRequestCarriesRefererAndAgent) {
    LoopbackPeer peer({LoopbackPeer::ReceiveUntil("\r\n\r\n"),
                       LoopbackPeer::Send("HTTP/1.0 500 Internal Server Error\r\nContent-Length: 5\r\n\r\noops!"),
                       LoopbackPeer::Close()});
    saver::LiveRequest request;
    request.url = Loopback(peer);
    request.referer = "http://example.test/page";
    saver::LiveFetch fetch;
    const saver::LiveReply reply = fetch.Get(request);
    EXPECT_FALSE(reply.ok);
    EXPECT_NE(reply.error.find("500"), std::string::npos) << reply.error;
    EXPECT_TRUE(reply.body.empty());
    const std::string received = peer.Received();
    EXPECT_NE(received.find("GET /cam.jpg HTTP/1.1\r\n"), std::string::npos) << received;
    EXPECT_NE(received.find("Referer: http://example.test/page\r\n"), std::string::npos) << received;
    EXPECT_NE(received.find("User-Agent: OVL\r\n"), std::string::npos) << received;
    EXPECT_NE(received.find("From: ovl@\r\n"), std::string::npos) << received;
}

TEST_F(LiveFetchTest, StalledServerIsCutAtTheTimeOut) {
    LoopbackPeer peer({LoopbackPeer::ReceiveUntil("\r\n\r\n"), LoopbackPeer::Send("HTTP/1.0 200 OK\r\n"),
                       LoopbackPeer::Gate()});
    saver::LiveRequest request;
    request.url = Loopback(peer);
    request.timeout = 500ms;
    saver::LiveFetch fetch;
    const saver::LiveReply reply = fetch.Get(request);
    peer.OpenGate();
    EXPECT_FALSE(reply.ok);
    EXPECT_NE(reply.error.find("imed out"), std::string::npos) << reply.error;
}

// A streaming address sends without end: the body stops at the cap instead of growing.
TEST_F(LiveFetchTest, BodyPastTheCapFails) {
    LoopbackPeer peer({LoopbackPeer::ReceiveUntil("\r\n\r\n"),
                       LoopbackPeer::Send("HTTP/1.0 200 OK\r\nContent-Type: image/jpeg\r\n\r\n" + std::string(4096, 'x')),
                       LoopbackPeer::Gate()});
    saver::LiveRequest request;
    request.url = Loopback(peer);
    request.maxBody = 1000;
    saver::LiveFetch fetch;
    const saver::LiveReply reply = fetch.Get(request);
    peer.OpenGate();
    EXPECT_FALSE(reply.ok);
    EXPECT_EQ(reply.error, "Picture larger than 1000 bytes");
    EXPECT_TRUE(reply.body.empty());
}

TEST_F(LiveFetchTest, OnlyHttpAndHttpsAreFetched) {
    testsupport::WriteFile(temp_.path() / "local.jpg", "local");
    saver::LiveRequest request;
    request.url = "file://" + (temp_.path() / "local.jpg").string();
    saver::LiveFetch fetch;
    EXPECT_FALSE(fetch.Get(request).ok);
}

// Closing the saver during a transfer: the cancel ends the transfer at once (well before the
// 30 s time-out), the reply reaches the main thread, and the thread is joined.
TEST_F(LiveFetchTest, CancelDuringATransferReturnsWithinASecond) {
    LoopbackPeer peer({LoopbackPeer::ReceiveUntil("\r\n\r\n"), LoopbackPeer::Send("HTTP/1.0 200 OK\r\n\r\nabc"),
                       LoopbackPeer::Gate()});
    saver::LiveRequest request;
    request.url = Loopback(peer);
    std::optional<saver::LiveReply> delivered;
    auto thread = std::make_unique<saver::LiveFetchThread>(
        request, [&](const saver::LiveReply& reply) { delivered = reply; });
    // The request is on the wire and the answer has begun.
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (peer.Received().find("\r\n\r\n") == std::string::npos && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(10ms);
    ASSERT_NE(peer.Received().find("\r\n\r\n"), std::string::npos);

    const auto start = std::chrono::steady_clock::now();
    thread.reset();  // cancels and joins
    const auto elapsed = std::chrono::steady_clock::now() - start;
    peer.OpenGate();
    EXPECT_LT(elapsed, 1s);
    ASSERT_TRUE(delivered.has_value());
    EXPECT_FALSE(delivered->ok);
    EXPECT_EQ(delivered->error, "Cancelled");
}

TEST_F(LiveFetchTest, ThreadDeliversTheBodyOnTheMainThread) {
    LoopbackPeer peer({LoopbackPeer::ReceiveUntil("\r\n\r\n"),
                       LoopbackPeer::Send("HTTP/1.0 200 OK\r\nContent-Length: 7\r\n\r\npicture"), LoopbackPeer::Close()});
    saver::LiveRequest request;
    request.url = Loopback(peer);
    std::optional<saver::LiveReply> delivered;
    std::thread::id deliveredOn;
    saver::LiveFetchThread thread(request, [&](const saver::LiveReply& reply) {
        delivered = reply;
        deliveredOn = std::this_thread::get_id();
    });
    thread.WaitFor();
    ASSERT_TRUE(delivered.has_value());
    EXPECT_TRUE(delivered->ok) << delivered->error;
    EXPECT_EQ(delivered->body, "picture");
    EXPECT_EQ(deliveredOn, std::this_thread::get_id());
}

}  // namespace
