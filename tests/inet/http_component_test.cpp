// TtvxHTTP over a scripted peer: the extra header lines, reset, actions started from its
// own events, exceptions, and the creation failure.

#include "inet/tvx_http.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/loopback_peer.h"

namespace {

using namespace std::string_literals;
using Peer = testsupport::LoopbackPeer;
using Lines = std::vector<std::string>;

std::string UrlOf(const Peer& peer, const std::string& path) {
    return "http://127.0.0.1:" + std::to_string(peer.port()) + path;
}

// Runs an action and returns the message of the exception it raised ("" when none).
std::string Failure(inet::TtvxHTTP& http, inet::TtvxhttpActions action) {
    try {
        http.SetAction(action);
        return "";
    } catch (const inet::EtvxHTTP& e) {
        return e.what();
    }
}

TEST(HttpComponentTest, TheFetchThreadsConditionalGetGoesOutAsTheListSaysAndTheListStays) {
    Peer peer({Peer::ReceiveUntil("\r\n\r\n"), Peer::Send("HTTP/1.0 200 OK\r\n\r\n"), Peer::Close()});
    inet::TtvxHTTP http;
    http.SetAction(inet::httpIdle);
    http.SetAction(inet::httpResetHeaders);
    http.ExtraHeaders().push_back("Pragma: no-cache");
    http.SetReferer("http://cams.example/view.html");
    http.SetAccept("*/*");
    http.SetUserAgent("Mozilla/4.0 (compatible; MSIE 6.0; Win32)");
    http.SetURL(UrlOf(peer, "/cam.jpg"));
    http.SetUser("");
    http.SetPassword("");
    http.ExtraHeaders().push_back("If-Modified-Since: Tue, 01 Dec 2026 10:00:00 GMT");
    http.ExtraHeaders().push_back("");  // a blank line at the end of addhead.txt
    http.SetAction(inet::httpGet);
    ASSERT_TRUE(peer.WaitClientClosed());
    EXPECT_EQ("GET /cam.jpg HTTP/1.0\r\nHost: 127.0.0.1\r\nAccept: */*\r\nUser-Agent: Mozilla/4.0 (compatible; MSIE "
              "6.0; Win32)\r\nReferer: http://cams.example/view.html\r\nPragma: no-cache\r\nIf-Modified-Since: Tue, 01 "
              "Dec 2026 10:00:00 GMT\r\n\r\n",
              peer.Received());
    EXPECT_EQ((Lines{"Pragma: no-cache", "If-Modified-Since: Tue, 01 Dec 2026 10:00:00 GMT"}), http.ExtraHeaders());
    EXPECT_EQ(inet::httpIdle, http.Action());
}

TEST(HttpComponentTest, ResetEmptiesTheRequestAndKeepsAgentAndProxy) {
    inet::TtvxHTTP http;
    http.SetURL("http://cam:pw@cams.example:8080/a.jpg");
    EXPECT_EQ(8080, http.URLPort());
    EXPECT_EQ("Basic Y2FtOnB3", http.Authorization());
    http.ExtraHeaders() = {"X-A: 1"};
    http.SetUserAgent("agent");
    http.SetProxyServer("proxy.example");
    http.SetProxyPort(3128);
    http.SetAction(inet::httpResetHeaders);
    EXPECT_TRUE(http.ExtraHeaders().empty());
    EXPECT_EQ("", http.URL());
    EXPECT_EQ("", http.User());
    EXPECT_EQ("", http.Authorization());
    EXPECT_EQ(80, http.URLPort());
    EXPECT_EQ("agent", http.UserAgent());
    EXPECT_EQ("proxy.example", http.ProxyServer());
    EXPECT_EQ(3128, http.ProxyPort());
    EXPECT_TRUE(http.WinsockLoaded());
}

TEST(HttpComponentTest, InsideItsTransferEventAnotherActionIsRefusedAndIdleAbortsTheRequest) {
    Peer peer({Peer::ReceiveUntil("\r\n\r\n"), Peer::Send("HTTP/1.0 200 OK\r\n\r\nab\0c"s), Peer::Gate()});
    inet::TtvxHTTP http;
    http.SetURL(UrlOf(peer, "/stream"));
    std::vector<std::string> seen;
    http.OnTransfer = [&](inet::TtvxHTTP& sender, int direction, std::int64_t total, const std::string& text) {
        EXPECT_EQ(&http, &sender);
        EXPECT_EQ(inet::httpGet, sender.Action());
        seen.push_back(std::to_string(direction) + " " + std::to_string(total) + " " + text);
        EXPECT_EQ("143: Busy performing current action.", Failure(sender, inet::httpGet));
        sender.SetAction(inet::httpIdle);
    };
    EXPECT_EQ("301: Interrupted.", Failure(http, inet::httpGet));
    EXPECT_EQ(Lines{"1 4 ab\0c"s}, seen);
    peer.OpenGate();
    EXPECT_TRUE(peer.WaitClientClosed());

    // The component is idle and usable again.
    Peer next({Peer::ReceiveUntil("\r\n\r\n"), Peer::Send("HTTP/1.0 404 Not Found\r\n\r\n"), Peer::Close()});
    http.OnTransfer = nullptr;
    http.SetURL(UrlOf(next, "/gone.jpg"));
    EXPECT_EQ("151: 404 Not Found", Failure(http, inet::httpGet));
}

TEST(HttpComponentTest, AnExceptionFromAHandlerAbortsTheRequestAndComesOutOfTheAction) {
    Peer peer({Peer::ReceiveUntil("\r\n\r\n"), Peer::Send("HTTP/1.0 200 OK\r\nA: 1\r\nB: 2\r\n\r\nbody"), Peer::Gate()});
    inet::TtvxHTTP http;
    http.SetURL(UrlOf(peer, "/"));
    Lines headers;
    http.OnHeader = [&](inet::TtvxHTTP&, const std::string& field, const std::string&) {
        headers.push_back(field);
        throw std::runtime_error("handler failed");
    };
    try {
        http.SetAction(inet::httpGet);
        ADD_FAILURE() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ("handler failed", e.what());
    }
    EXPECT_EQ(Lines{"A"}, headers);
    EXPECT_EQ(inet::httpIdle, http.Action());
    peer.OpenGate();
    EXPECT_TRUE(peer.WaitClientClosed());
}

TEST(HttpComponentTest, EventsReachTheirHandlersWithTheirArguments) {
    Peer peer({Peer::ReceiveUntil("\r\n\r\n"), Peer::Send("HTTP/1.0 200 OK\r\nX: y\r\n\r\n\0\0"s), Peer::Close()});
    inet::TtvxHTTP http;
    http.SetURL(UrlOf(peer, "/"));
    Lines events;
    http.OnConnected = [&](auto&, int code, const std::string& text) {
        events.push_back("connected " + std::to_string(code) + " " + text);
    };
    http.OnDisconnected = [&](auto&, int code, const std::string& text) {
        events.push_back("disconnected " + std::to_string(code) + " " + text);
    };
    http.OnHeader = [&](auto&, const std::string& f, const std::string& v) { events.push_back(f + "=" + v); };
    http.OnStartTransfer = [&](auto&, int d) { events.push_back("start " + std::to_string(d)); };
    http.OnEndTransfer = [&](auto&, int d) { events.push_back("end " + std::to_string(d)); };
    http.OnTransfer = [&](auto&, int, std::int64_t, const std::string& text) {
        events.push_back("transfer " + std::to_string(text.size()));
    };
    http.SetAction(inet::httpGet);
    EXPECT_EQ((Lines{"connected 0 OK", "X=y", "start 1", "transfer 2", "end 1", "disconnected 0 OK"}), events);
}

// With no descriptor left, the thread's message loop cannot be made, nor the component.
TEST(HttpComponentTest, CreationFailsWithMinusOneWhenTheEngineCannotBeMade) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the undefined-behaviour checks need descriptors of their own";
#endif
    int lowestFree = dup(0);
    ASSERT_GE(lowestFree, 0);
    close(lowestFree);
    rlimit old{};
    ASSERT_EQ(0, getrlimit(RLIMIT_NOFILE, &old));
    rlimit none = old;
    none.rlim_cur = static_cast<rlim_t>(lowestFree);
    std::string message;
    int code = 0;
    ASSERT_EQ(0, setrlimit(RLIMIT_NOFILE, &none));
    std::thread([&] {
        try {
            inet::TtvxHTTP http;
        } catch (const inet::EtvxHTTP& e) {
            code = e.Code;
            message = e.what();
        }
    }).join();
    setrlimit(RLIMIT_NOFILE, &old);
    EXPECT_EQ(-1, code);
    EXPECT_EQ("-1: Portivo HTTP: Error creating component", message);
}

}  // namespace
