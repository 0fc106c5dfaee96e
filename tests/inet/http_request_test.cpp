// The request as it goes on the wire, byte for byte, read by a scripted peer.

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "inet/engine_text.h"
#include "inet/http_engine.h"
#include "tests/inet/http_recorder.h"
#include "tests/support/loopback_peer.h"
#include "tests/support/temp_dir.h"

namespace {

using namespace std::string_literals;
using P = inet::HttpProperty;
using Peer = testsupport::LoopbackPeer;

const std::string kMsie = "Mozilla/4.0 (compatible; MSIE 6.0; Win32)";

// Points the engine at the peer, either directly or as its proxy.
void Direct(inet::HttpEngine& e, std::uint16_t port, const std::string& path) {
    ASSERT_EQ(0, e.Set(P::URL, "http://127.0.0.1:" + std::to_string(port) + path));
}
void ThroughProxy(inet::HttpEngine& e, std::uint16_t port, const std::string& url) {
    ASSERT_EQ(0, e.Set(P::ProxyServer, Peer::host()));
    ASSERT_EQ(0, e.SetNumber(P::ProxyPort, port));
    ASSERT_EQ(0, e.Set(P::URL, url));
}

struct HeadCase {
    std::string name;
    inet::HttpAction action;
    std::function<void(inet::HttpEngine&, std::uint16_t port)> setup;
    std::string expected;  // everything the peer receives
};

void PrintTo(const HeadCase& c, std::ostream* os) { *os << c.name; }

class RequestHeadTest : public ::testing::TestWithParam<HeadCase> {};

TEST_P(RequestHeadTest, GoesOutByteForByte) {
    const HeadCase& c = GetParam();
    std::size_t headEnd = c.expected.find("\r\n\r\n") + 4;
    Peer peer({Peer::ReceiveUntil("\r\n\r\n"), Peer::ReceiveBytes(c.expected.size() - headEnd),
               Peer::Send("HTTP/1.0 200 OK\r\n\r\n"), Peer::Close()});
    httptest::Recorder events;
    inet::HttpEngine engine(events);
    engine.SetTimeout(10000);  // a broken case fails instead of hanging
    c.setup(engine, peer.port());
    ASSERT_EQ(0, engine.Action(c.action)) << engine.LastError();
    ASSERT_TRUE(peer.WaitClientClosed());
    EXPECT_EQ(c.expected, peer.Received());
    EXPECT_EQ("HTTP/1.0 200 OK", engine.Get(P::StatusLine));
}

// A GET of url through the peer as proxy, with no User-Agent.
HeadCase ProxyGet(std::string name, std::string url, std::string expected) {
    return {std::move(name), inet::HttpAction::Get,
            [url](auto& e, auto port) {
                ASSERT_EQ(0, e.Set(P::UserAgent, ""));
                ThroughProxy(e, port, url);
            },
            std::move(expected)};
}

const std::string kProxyLogin = "Basic " + inet::Base64("proxyuser:proxypass");

INSTANTIATE_TEST_SUITE_P(
    Heads, RequestHeadTest,
    ::testing::Values(
        HeadCase{"MinimalGet", inet::HttpAction::Get,
                 [](auto& e, auto port) {
                     ASSERT_EQ(0, e.Set(P::UserAgent, ""));
                     Direct(e, port, "/cam.jpg");
                 },
                 "GET /cam.jpg HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n"},
        HeadCase{"DefaultUserAgent", inet::HttpAction::Head, [](auto& e, auto port) { Direct(e, port, ""); },
                 "HEAD / HTTP/1.0\r\nHost: 127.0.0.1\r\nUser-Agent: Portivo HTTP Component - "
                 "http://www.portivo.example/\r\n\r\n"},
        HeadCase{"FetchThreadConditionalGet", inet::HttpAction::Get,
                 [](auto& e, auto port) {
                     Direct(e, port, "/cam.jpg?t=1");
                     ASSERT_EQ(0, e.Set(P::Referer, "http://cams.example/"));
                     ASSERT_EQ(0, e.Set(P::Accept, "*/*"));
                     ASSERT_EQ(0, e.Set(P::UserAgent, kMsie));
                     ASSERT_EQ(0, e.Set(P::OtherHeaders, "Pragma: no-cache\r\nIf-Modified-Since: Tue, 01 Dec "
                                                         "2026 10:00:00 GMT\r\n"));
                 },
                 "GET /cam.jpg?t=1 HTTP/1.0\r\nHost: 127.0.0.1\r\nAccept: */*\r\nUser-Agent: " + kMsie +
                     "\r\nReferer: http://cams.example/\r\nPragma: no-cache\r\nIf-Modified-Since: Tue, 01 Dec 2026 "
                     "10:00:00 GMT\r\n\r\n"},
        HeadCase{"EveryFixedHeaderInItsPlace", inet::HttpAction::Get,
                 [](auto& e, auto port) {
                     Direct(e, port, "/a");
                     for (auto [id, v] : std::vector<std::pair<P, std::string>>{{P::Pragma, "no-cache"},
                                                                                 {P::Referer, "r"},
                                                                                 {P::IfModifiedSince, "d"},
                                                                                 {P::UserAgent, "ua"},
                                                                                 {P::FromHeader, "me@x"},
                                                                                 {P::Accept, "*/*"},
                                                                                 {P::Authorization, "Basic eA=="}})
                         ASSERT_EQ(0, e.Set(id, v));
                 },
                 "GET /a HTTP/1.0\r\nHost: 127.0.0.1\r\nAuthorization: Basic eA==\r\nAccept: */*\r\nFrom: "
                 "me@x\r\nUser-Agent: ua\r\nIf-Modified-Since: d\r\nReferer: r\r\nPragma: no-cache\r\n\r\n"},
        ProxyGet("ProxyWithPort8080", "http://cams.example:8080/img.jpg?x=1",
                 "GET http://cams.example:8080/img.jpg?x=1 HTTP/1.0\r\nHost: cams.example\r\n\r\n"),
        ProxyGet("ProxyWithPort80", "http://cams.example:80/img.jpg",
                 "GET http://cams.example/img.jpg HTTP/1.0\r\nHost: cams.example\r\n\r\n"),
        ProxyGet("HttpsThroughAProxy", "https://cams.example/img.jpg",
                 "GET https://cams.example:443/img.jpg HTTP/1.0\r\nHost: cams.example\r\n\r\n"),
        HeadCase{"WebcamLoginAndProxyLogin", inet::HttpAction::Get,
                 [](auto& e, auto port) {
                     // As the fetch thread does it: the proxy login becomes an extra header, then
                     // the webcam's login is set.
                     ThroughProxy(e, port, "http://cams.example/a.jpg");
                     ASSERT_EQ(0, e.Set(P::User, "proxyuser"));
                     ASSERT_EQ(0, e.Set(P::Password, "proxypass"));
                     ASSERT_EQ(0, e.Set(P::OtherHeaders, "Proxy-Authorization: " + e.Get(P::Authorization) + "\r\n"));
                     ASSERT_EQ(0, e.Set(P::User, ""));
                     ASSERT_EQ(0, e.Set(P::Password, ""));
                     ASSERT_EQ(0, e.Set(P::UserAgent, kMsie));
                     ASSERT_EQ(0, e.Set(P::User, "cam"));
                     ASSERT_EQ(0, e.Set(P::Password, "secret"));
                 },
                 "GET http://cams.example/a.jpg HTTP/1.0\r\nHost: cams.example\r\nAuthorization: Basic "
                 "Y2FtOnNlY3JldA==\r\nUser-Agent: " + kMsie + "\r\nProxy-Authorization: " + kProxyLogin + "\r\n\r\n"},
        HeadCase{"HostInOtherHeaders", inet::HttpAction::Get,
                 [](auto& e, auto port) {
                     ASSERT_EQ(0, e.Set(P::UserAgent, ""));
                     Direct(e, port, "/p");
                     ASSERT_EQ(0, e.Set(P::OtherHeaders, "host: virtual.example\r\nX-A: 1\n\n\r\n"));
                 },
                 "GET /p HTTP/1.0\r\nhost: virtual.example\r\nX-A: 1\r\n\r\n"},
        HeadCase{"LineBreaksRemovedFromSingleLineValues", inet::HttpAction::Get,
                 [](auto& e, auto port) {
                     Direct(e, port, "/p");
                     ASSERT_EQ(0, e.Set(P::UserAgent, "ua\r\nX-Evil: 1"));
                     ASSERT_EQ(0, e.Set(P::Referer, "\nref"));
                     ASSERT_EQ(0, e.Set(P::FromHeader, "me\r"));
                 },
                 "GET /p HTTP/1.0\r\nHost: 127.0.0.1\r\nFrom: me\r\nUser-Agent: uaX-Evil: 1\r\nReferer: ref\r\n\r\n"},
        HeadCase{"PostWithABody", inet::HttpAction::Post,
                 [](auto& e, auto port) {
                     ASSERT_EQ(0, e.Set(P::UserAgent, ""));
                     Direct(e, port, "/form");
                     ASSERT_EQ(0, e.Set(P::ContentType, "application/x-www-form-urlencoded"));
                     ASSERT_EQ(0, e.Set(P::PostData, std::string("a=\0&b", 5)));
                 },
                 "POST /form HTTP/1.0\r\nHost: 127.0.0.1\r\nContent-Type: "
                 "application/x-www-form-urlencoded\r\nContent-Length: 5\r\n\r\na=\0&b"s},
        HeadCase{"PutWithoutBody", inet::HttpAction::Put,
                 [](auto& e, auto port) {
                     ASSERT_EQ(0, e.Set(P::UserAgent, ""));
                     Direct(e, port, "/f");
                 },
                 "PUT /f HTTP/1.0\r\nHost: 127.0.0.1\r\nContent-Length: 0\r\n\r\n"}),
    [](const auto& info) { return info.param.name; });

TEST(RequestRefusalTest, HttpsWithoutAProxyAndNoServerSendNothing) {
    httptest::Recorder events;
    inet::HttpEngine engine(events);
    // Nothing listens there: a connection attempt would fail with 10061, not with 153.
    std::string port = std::to_string(testsupport::ClosedLoopbackPort());
    ASSERT_EQ(0, engine.Set(P::URL, "https://127.0.0.1:" + port + "/a.jpg"));
    EXPECT_EQ(153, engine.Action(inet::HttpAction::Get));
    EXPECT_EQ("Specified URLScheme is invalid.", engine.LastError());
    EXPECT_TRUE(events.events.empty());
    ASSERT_EQ(0, engine.Set(P::URL, "http://127.0.0.1:" + port + "/a.jpg"));
    EXPECT_EQ(10061, engine.Action(inet::HttpAction::Get));
    EXPECT_EQ("[10061] Connection refused", engine.LastError());
    ASSERT_EQ(0, engine.Set(P::URLServer, ""));
    EXPECT_EQ(152, engine.Action(inet::HttpAction::Get));
    EXPECT_EQ("No server specified in URL", engine.LastError());
    EXPECT_EQ(std::vector<std::string>{"Connected 10061 [10061] Connection refused"}, events.events);
    EXPECT_EQ(0, engine.GetNumber(P::Action));
}

TEST(RequestRefusalTest, AMissingAttachedFileFailsBeforeAnythingIsSent) {
    testsupport::TempDir temp;
    httptest::Recorder events;
    inet::HttpEngine engine(events);
    ASSERT_EQ(0, engine.Set(P::URL, "http://127.0.0.1:" + std::to_string(testsupport::ClosedLoopbackPort()) + "/u"));
    ASSERT_EQ(0, engine.Set(P::AttachedFile, (temp.path() / "missing.jpg").string()));
    EXPECT_EQ(302, engine.Action(inet::HttpAction::Post));
    EXPECT_EQ("Can't open attached file for reading.", engine.LastError());
    EXPECT_TRUE(events.events.empty());
}

TEST(RequestPropertiesTest, ResetClearsTheRequestAndKeepsTheSettings) {
    httptest::Recorder events;
    inet::HttpEngine engine(events);
    for (P id : {P::Accept, P::AttachedFile, P::ContentType, P::FromHeader, P::IfModifiedSince, P::LocalFile,
                 P::OtherHeaders, P::PostData, P::Pragma, P::Referer, P::User, P::Password})
        ASSERT_EQ(0, engine.Set(id, "v"));
    ASSERT_EQ(0, engine.Set(P::URL, "https://cams.example:8443/a.jpg"));
    ASSERT_EQ(0, engine.Set(P::UserAgent, "ua"));
    ASSERT_EQ(0, engine.Set(P::ProxyServer, "proxy.example"));
    ASSERT_EQ(0, engine.SetNumber(P::ProxyPort, 3128));
    ASSERT_EQ(0, engine.Set(P::HttpVersion, "HTTP/1.1"));

    ASSERT_EQ(0, engine.Action(inet::HttpAction::ResetHeaders));
    for (P id : {P::Accept, P::AttachedFile, P::Authorization, P::ContentType, P::FromHeader, P::IfModifiedSince,
                 P::LocalFile, P::OtherHeaders, P::PostData, P::Pragma, P::Referer, P::User, P::Password, P::URL,
                 P::URLServer, P::URLPath, P::StatusLine})
        EXPECT_EQ("", engine.Get(id)) << static_cast<int>(id);
    EXPECT_EQ("http", engine.Get(P::URLScheme));
    EXPECT_EQ(80, engine.GetNumber(P::URLPort));
    EXPECT_EQ("ua", engine.Get(P::UserAgent));
    EXPECT_EQ("proxy.example", engine.Get(P::ProxyServer));
    EXPECT_EQ(3128, engine.GetNumber(P::ProxyPort));
    EXPECT_EQ("HTTP/1.1", engine.Get(P::HttpVersion));
}

}  // namespace
