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

TEST_F(WebFetchTest, VersionFileTellsWhetherANewerVersionExistsAndOnlyADateIsAnAnswer) {
    ORVELLO_NEED_PEER("nginx");
    testsupport::NginxPeer nginx(temp_.path() / "nginx");
    ASSERT_TRUE(nginx.Running());
    using Kind = ui::VersionAnswer::Kind;
    struct Case {
        std::string reply;
        Kind kind;
        std::string text;
        std::string reason;
    };
    const std::string noDate = "Le fichier de version ne commence pas par une date";
    const std::vector<Case> cases = {
        {"20030226 Orvello 3.1", Kind::Newer, "20030226 Orvello 3.1", ""},
        {"20030225", Kind::Latest, "20030225", ""},
        {"19991231\r\n", Kind::Latest, "19991231\r\n", ""},
        {"2003022", Kind::Failed, "", "Le fichier de version est trop court (7 caractères, il en faut au moins 8)"},
        {"2004", Kind::Failed, "", "Le fichier de version est trop court (4 caractères, il en faut au moins 8)"},
        {"abcdefgh", Kind::Failed, "abcdefgh", noDate},
        {"2003 226", Kind::Failed, "2003 226", noDate},
        {"-2003022", Kind::Failed, "-2003022", noDate},
        {"", Kind::Failed, "", "Le fichier de version est trop court (0 caractères, il en faut au moins 8)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reply);
        testsupport::WriteFile(nginx.root() / "ovlver.txt", c.reply);
        const ui::VersionAnswer answer = ui::CheckNewVersion(nginx.Url("/ovlver.txt?"), {});
        EXPECT_EQ(answer.kind, c.kind);
        EXPECT_EQ(answer.text, c.text);
        EXPECT_EQ(answer.reason, c.reason);
    }
    // A version file past its cap, a missing one, a server that is not there and a name that
    // is nobody's: failed checks that say why in words, without the engines' numbers.
    testsupport::WriteFile(nginx.root() / "ovlver.txt", "20991231" + std::string(ui::kVersionFileCap, ' '));
    const std::string closed = "http://127.0.0.1:" + std::to_string(testsupport::ClosedLoopbackPort()) + "/ovlver.txt?";
    const std::pair<std::string, std::string> failures[] = {
        {nginx.Url("/ovlver.txt?"), "La réponse du serveur dépasse 16384 octets"},
        {nginx.Url("/missing.txt?"), "Le serveur a refusé la demande (404 Not Found)"},
        {closed, "Le serveur refuse la connexion"},
        {"http://nobody.invalid/ovlver.txt?", "Le serveur est introuvable (vérifiez son nom)"},
    };
    for (const auto& [url, reason] : failures) {
        SCOPED_TRACE(url);
        const ui::VersionAnswer answer = ui::CheckNewVersion(url, {});
        EXPECT_EQ(answer.kind, Kind::Failed);
        EXPECT_EQ(answer.reason, reason);
    }
}

TEST(ShownVersionText, KeepsAFewPrintableLines) {
    struct Case {
        std::string reply;
        QString shown;
    };
    const std::vector<Case> cases = {
        {"20040101 Orvello 3.1", "20040101 Orvello 3.1"},
        {"20040101\r\nNouveau\r\n", "20040101\nNouveau"},
        {"99999999\x01\x07\x1b[2J\x7f" + std::string(2000, '\n') + "fin", "99999999[2J\nfin"},
        {"1\n2\n3\n4\n5\n6", "1\n2\n3\n4…"},
        {std::string(500, 'x'), QString(119, u'x') + u'…'},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reply.substr(0, 40));
        EXPECT_EQ(ui::ShownVersionText(c.reply), c.shown);
    }
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
        try {
            ui::FetchText(url, {}, {256 * 1024, 1s});
            ADD_FAILURE() << "the request did not fail";
        } catch (const ui::WebFetchError& e) {
            EXPECT_EQ(e.what(), std::string(std::string(name) == "stalled" ? "Le serveur n'a rien envoyé pendant 1 s"
                                                                           : "La réponse du serveur dépasse 262144 octets"));
        }
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
    try {
        ui::FetchText(peer.Url("/x"), {}, {1024, 60s}, [&] { return cancel; });
        ADD_FAILURE() << "the request did not fail";
    } catch (const ui::WebFetchError& e) {
        EXPECT_EQ(e.what(), std::string("La demande a été annulée"));
    }
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
