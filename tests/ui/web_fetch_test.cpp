// The web features' requests against local nginx and scripted servers: the version table, the
// size caps and the inactivity limit (with the window answering meanwhile), and the proxy login
// line each request sets afresh.
#include "ui/web/version_check.h"
#include "ui/web/web_fetch.h"

#include "platform/qt/gui_loop.h"
#include "tests/support/loopback_peer.h"
#include "tests/support/mjpeg_peer.h"
#include "tests/support/nginx_peer.h"
#include "tests/support/peers.h"
#include "tests/support/temp_dir.h"

#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>

namespace {

using namespace std::chrono_literals;
using testsupport::LoopbackPeer;
using testsupport::MjpegPeer;

class WebFetchTest : public testsupport::IsolatedTest {
protected:
    // Counts the ticks of a Qt timer while a request runs: the window's events go on.
    struct Ticker {
        QTimer timer;
        int ticks = 0;
        Ticker() {
            QObject::connect(&timer, &QTimer::timeout, [this] { ++ticks; });
            timer.start(20);
        }
    };
    platform::GuiEventBridge bridge_;
};

TEST_F(WebFetchTest, VersionFileTellsWhetherANewerVersionExists) {
    ORVELLO_NEED_PEER("nginx");
    testsupport::NginxPeer nginx(temp_.path() / "nginx");
    ASSERT_TRUE(nginx.Running());
    struct Case {
        std::string reply;
        bool newer;
        std::optional<std::string> text;  // none: left as it was
    };
    const std::vector<Case> cases = {
        {"20030226 Orvello 3.1", true, "20030226 Orvello 3.1"},
        {"20030225", false, "20030225"},
        {"2003022", false, std::nullopt},
        {"abcdefgh", false, "abcdefgh"},
        {"2003 226", false, "2003 226"},
        {"", false, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reply);
        testsupport::WriteFile(nginx.root() / "ovlver.txt", c.reply);
        std::string text = "unassigned";
        EXPECT_EQ(ui::CheckNewVersion(nginx.Url("/ovlver.txt?"), {}, text), c.newer);
        EXPECT_EQ(text, c.text.value_or("unassigned"));
    }
    // A version file past its cap, a missing one and a server that is not there: no newer version.
    testsupport::WriteFile(nginx.root() / "ovlver.txt", "20991231" + std::string(ui::kVersionFileCap, ' '));
    std::string text = "unassigned";
    EXPECT_FALSE(ui::CheckNewVersion(nginx.Url("/ovlver.txt?"), {}, text));
    EXPECT_FALSE(ui::CheckNewVersion(nginx.Url("/missing.txt?"), {}, text));
    const std::string closed = "http://127.0.0.1:" + std::to_string(testsupport::ClosedLoopbackPort()) + "/ovlver.txt?";
    EXPECT_FALSE(ui::CheckNewVersion(closed, {}, text));
    EXPECT_EQ(text, "unassigned");
}

TEST_F(WebFetchTest, ListUpToItsCapArrivesWholeAndOneByteMoreFails) {
    ORVELLO_NEED_PEER("nginx");
    testsupport::NginxPeer nginx(temp_.path() / "nginx");
    ASSERT_TRUE(nginx.Running());
    const ui::FetchLimits limits{100 * 1024};
    const std::string list(limits.maxBytes, 'x');
    testsupport::WriteFile(nginx.root() / "full.txt", list);
    testsupport::WriteFile(nginx.root() / "over.txt", list + "x");
    EXPECT_EQ(ui::FetchText(nginx.Url("/full.txt"), {}, limits), list);
    EXPECT_THROW(ui::FetchText(nginx.Url("/over.txt"), {}, limits), ui::WebFetchError);
    EXPECT_THROW(ui::FetchText(nginx.Url("/none.txt"), {}, limits), ui::WebFetchError);  // 404
}

TEST_F(WebFetchTest, StalledAndEndlessServersAreCutWhileTheWindowAnswers) {
    MjpegPeer::Reply stalled;
    stalled.body = "HTTP/1.0 200 OK\r\n\r\nWebcams,http://x/";
    stalled.end = MjpegPeer::End::Stall;
    MjpegPeer::Reply endless;
    endless.body = "HTTP/1.0 200 OK\r\n\r\n" + std::string(16 * 1024, 'x');
    endless.end = MjpegPeer::End::Repeat;
    endless.piece = 4096;
    MjpegPeer stallPeer({stalled});
    MjpegPeer endlessPeer({endless});
    for (auto [name, url] : {std::pair{"stalled", stallPeer.Url("/index.txt")},
                             std::pair{"endless", endlessPeer.Url("/index.txt")}}) {
        SCOPED_TRACE(name);
        Ticker ticker;
        // The limits are small here; the product's are 30 s and a few MiB.
        EXPECT_THROW(ui::FetchText(url, {}, {256 * 1024, 1s}), ui::WebFetchError);
        if (std::string(name) == "stalled") {
            EXPECT_GE(ticker.ticks, 5);
        }
    }
    EXPECT_TRUE(stallPeer.WaitEnded(1));  // the connections were closed by the client
    EXPECT_TRUE(endlessPeer.WaitEnded(1));
}

TEST_F(WebFetchTest, CancelEndsTheRequest) {
    MjpegPeer::Reply stalled;
    stalled.body = "HTTP/1.0 200 OK\r\n\r\n";
    stalled.end = MjpegPeer::End::Stall;
    MjpegPeer peer({stalled});
    bool cancel = false;
    QTimer::singleShot(100, [&] { cancel = true; });
    EXPECT_THROW(ui::FetchText(peer.Url("/x"), {}, {1024, 60s}, [&] { return cancel; }), ui::WebFetchError);
    EXPECT_TRUE(cancel);
}

TEST_F(WebFetchTest, EachRequestThroughTheProxyCarriesOneLoginLine) {
    const ui::WebProxy proxy{"127.0.0.1", 0, "user", "pw"};
    for (int request = 0; request < 2; ++request) {
        LoopbackPeer peer({LoopbackPeer::ReceiveUntil("\r\n\r\n"), LoopbackPeer::Send("HTTP/1.0 200 OK\r\n\r\nbody"),
                           LoopbackPeer::Close()});
        ui::WebProxy through = proxy;
        through.port = peer.port();
        EXPECT_EQ(ui::FetchText("http://lists.example/europe.txt", through, {1024}), "body");
        ASSERT_TRUE(peer.WaitScriptDone());
        const std::string sent = peer.Received();
        EXPECT_EQ(sent.rfind("GET http://lists.example/europe.txt", 0), 0u) << sent;
        const std::string line = "Proxy-Authorization: Basic dXNlcjpwdw==\r\n";
        const std::size_t first = sent.find(line);
        EXPECT_NE(first, std::string::npos) << sent;
        EXPECT_EQ(sent.find(line, first + 1), std::string::npos) << sent;
        EXPECT_EQ(sent.find("\r\nAuthorization:"), std::string::npos) << sent;  // none for the web server
    }
}

TEST(WebProxy, TakenFromTheSettingsOnlyWhenSwitchedOnWithAHost) {
    engine::TConfigRec config{};
    engine::TExtra1Rec extra1{};
    config.ProxyHost = "proxy.lan";
    config.ProxyPort = 0x10000 + 3128;
    extra1.ProxyUser = "me";
    EXPECT_EQ(ui::ProxyOf(config, extra1).host, "");
    config.UseProxy = 1;
    const ui::WebProxy proxy = ui::ProxyOf(config, extra1);
    EXPECT_EQ(proxy.host, "proxy.lan");
    EXPECT_EQ(proxy.port, 3128);
    EXPECT_EQ(proxy.user, "me");
    config.ProxyHost = "";
    EXPECT_EQ(ui::ProxyOf(config, extra1).host, "");
}

}  // namespace
