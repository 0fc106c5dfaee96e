// TtvxHTTP against real servers on loopback: nginx for pictures, Last-Modified and 304,
// HEAD, Basic login, errors with a body and slow transfers; tinyproxy for the proxy.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "inet/tvx_http.h"
#include "platform/message_loop.h"
#include "tests/support/nginx_peer.h"
#include "tests/support/peers.h"
#include "tests/support/temp_dir.h"
#include "tests/support/tinyproxy_peer.h"

namespace {

using Clock = std::chrono::steady_clock;

// Bytes that look like a JPEG and hold every byte value, NUL included.
std::string Picture(std::size_t size) {
    std::string bytes = "\xFF\xD8\xFF\xE0";
    for (std::size_t i = bytes.size(); i < size; ++i) bytes += static_cast<char>((i * 31 + i / 256) & 0xFF);
    return bytes;
}

// A component that keeps what its events deliver.
struct Fetcher {
    inet::TtvxHTTP http;
    std::string body;
    std::map<std::string, std::string> headers;
    int transfers = 0;

    Fetcher() {
        http.OnTransfer = [this](auto&, int, std::int64_t, const std::string& text) {
            body += text;
            ++transfers;
        };
        http.OnHeader = [this](auto&, const std::string& field, const std::string& value) { headers[field] = value; };
    }
    // The exception's message, or "" when the action succeeded.
    std::string Run(inet::TtvxhttpActions action) {
        body.clear();
        headers.clear();
        transfers = 0;
        try {
            http.SetAction(action);
            return "";
        } catch (const inet::EtvxHTTP& e) {
            return e.what();
        }
    }
};

class NginxTest : public ::testing::Test {
protected:
    void SetUp() override {
        ORVELLO_NEED_PEER("nginx");
        std::string lines = "    location /slow/ { limit_rate 16k; }\n" +
                            testsupport::NginxPeer::BasicAuthLocation(temp_.path() / "htpasswd", "/private/", "cam",
                                                                      "s3cret@x");
        peer_ = std::make_unique<testsupport::NginxPeer>(temp_.path(), lines);
        ASSERT_TRUE(peer_->Running()) << peer_->ErrorLog();
        testsupport::WriteFile(peer_->root() / "cam.jpg", picture_);
        testsupport::WriteFile(peer_->root() / "private" / "cam.jpg", picture_);
        testsupport::WriteFile(peer_->root() / "slow" / "big.bin", Picture(4 << 20));
    }
    std::string Url(const std::string& path) const { return peer_->Url(path); }

    testsupport::TempDir temp_;
    std::unique_ptr<testsupport::NginxPeer> peer_;
    const std::string picture_ = Picture(150000);
};

TEST_F(NginxTest, AGetDeliversTheFileByteForByteWithItsHeaders) {
    Fetcher f;
    f.http.SetURL(Url("/cam.jpg"));
    ASSERT_EQ("", f.Run(inet::httpGet));
    EXPECT_TRUE(f.body == picture_);
    EXPECT_GT(f.transfers, 1);
    EXPECT_EQ(std::to_string(picture_.size()), f.headers["Content-Length"]);
    EXPECT_EQ("image/jpeg", f.headers["Content-Type"]);
    EXPECT_FALSE(f.headers["Last-Modified"].empty());
}

TEST_F(NginxTest, AHeadHasNoBodyAndLeavesTheLocalFileAlone) {
    Fetcher f;
    std::filesystem::path file = temp_.path() / "header.new";
    testsupport::WriteFile(file, "kept");
    f.http.SetURL(Url("/cam.jpg"));
    f.http.SetLocalFile(file.string());
    int started = 0;
    f.http.OnStartTransfer = [&](auto&, int direction) { started += direction == 1; };
    ASSERT_EQ("", f.Run(inet::httpHead));
    EXPECT_EQ(0, f.transfers);
    EXPECT_EQ(1, started);
    EXPECT_EQ(std::to_string(picture_.size()), f.headers["Content-Length"]);
    EXPECT_EQ("kept", testsupport::ReadFile(file));
}

TEST_F(NginxTest, AnUnchangedPictureAnswers304AsError151) {
    Fetcher f;
    f.http.SetURL(Url("/cam.jpg"));
    ASSERT_EQ("", f.Run(inet::httpGet));
    std::string lastModified = f.headers["Last-Modified"];
    f.http.ExtraHeaders() = {"Pragma: no-cache", "If-Modified-Since: " + lastModified};
    EXPECT_EQ("151: 304 Not Modified", f.Run(inet::httpGet));
    EXPECT_EQ("", f.body);
    f.http.ExtraHeaders() = {"If-Modified-Since: Thu, 01 Jan 1998 00:00:00 GMT"};
    EXPECT_EQ("", f.Run(inet::httpGet));
    EXPECT_TRUE(f.body == picture_);
}

// The fetch threads' way: the failure comes back as the message SetAction raises.
TEST_F(NginxTest, PerformActionHandsBackTheFailureInsteadOfRaisingIt) {
    Fetcher f;
    f.http.SetURL(Url("/cam.jpg"));
    ASSERT_EQ("", f.Run(inet::httpGet));
    struct Case {
        std::string ifModifiedSince, failure;
        bool body;
    };
    for (const Case& c : {Case{f.headers["Last-Modified"], "151: 304 Not Modified", false},
                          Case{"Thu, 01 Jan 1998 00:00:00 GMT", "", true}}) {
        f.body.clear();
        f.http.ExtraHeaders() = {"If-Modified-Since: " + c.ifModifiedSince};
        EXPECT_EQ(f.http.PerformAction(inet::httpGet), c.failure);
        EXPECT_EQ(f.body == picture_, c.body) << c.failure;
    }
    f.http.SetURL(Url("/missing.jpg"));
    const std::string raised = f.Run(inet::httpGet);
    EXPECT_EQ("151: 404 Not Found", raised);
    EXPECT_EQ(f.http.PerformAction(inet::httpGet), raised);
}

TEST_F(NginxTest, AProtectedPictureNeedsTheLogin) {
    Fetcher f;
    f.http.SetURL(Url("/private/cam.jpg"));
    EXPECT_EQ("151: 401 Unauthorized", f.Run(inet::httpGet));
    f.http.SetUser("cam");
    f.http.SetPassword("wrong");
    EXPECT_EQ("151: 401 Unauthorized", f.Run(inet::httpGet));
    f.http.SetPassword("s3cret@x");
    ASSERT_EQ("", f.Run(inet::httpGet));
    EXPECT_TRUE(f.body == picture_);

    Fetcher inUrl;
    inUrl.http.SetURL("http://cam:s3cret@x@127.0.0.1:" + std::to_string(peer_->port()) + "/private/cam.jpg");
    ASSERT_EQ("", inUrl.Run(inet::httpGet));
    EXPECT_TRUE(inUrl.body == picture_);
}

TEST_F(NginxTest, ANotFoundBodyGoesToTheLocalFileBeforeTheActionFails) {
    Fetcher f;
    std::filesystem::path file = temp_.path() / "reply.html";
    f.http.SetURL(Url("/missing.jpg"));
    f.http.SetLocalFile(file.string());
    EXPECT_EQ("151: 404 Not Found", f.Run(inet::httpGet));
    EXPECT_NE(std::string::npos, f.body.find("404 Not Found"));
    EXPECT_EQ(f.body, testsupport::ReadFile(file));
}

// The fetch thread's inactivity abort: a timer of the same thread sets the action idle.
TEST_F(NginxTest, ATimerOfTheSameThreadAbortsASlowTransferWith301) {
    Fetcher f;
    f.http.SetURL(Url("/slow/big.bin"));
    auto& loop = platform::MessageLoop::Current();
    platform::TimerId timer = 0;
    f.http.OnTransfer = [&](auto&, int, std::int64_t, const std::string& text) {
        f.body += text;
        if (timer == 0)
            timer = loop.SetTimer(std::chrono::milliseconds(50), [&] {
                loop.KillTimer(timer);
                f.http.SetAction(inet::httpIdle);
            });
    };
    EXPECT_EQ("301: Interrupted.", f.Run(inet::httpGet));
    EXPECT_GT(f.body.size(), 0u);
    EXPECT_LT(f.body.size(), std::size_t{4} << 20);
    EXPECT_EQ(inet::httpIdle, f.http.Action());
}

// How another thread stops a component's request (a webcam stopped from the main window).
TEST_F(NginxTest, AnInterruptFromAnotherThreadEndsTheTransferAtOnceAndTheComponentGoesOn) {
    Fetcher f;
    f.http.SetURL(Url("/slow/big.bin"));
    std::mutex lock;  // guards flowing
    std::condition_variable changed;
    bool flowing = false;
    f.http.OnTransfer = [&](auto&, int, std::int64_t, const std::string& text) {
        f.body += text;
        std::lock_guard<std::mutex> hold(lock);
        flowing = true;
        changed.notify_all();
    };
    std::atomic<Clock::rep> requestedAt{0};
    std::thread stopper([&, handle = f.http.InterruptHandle()] {
        std::unique_lock<std::mutex> hold(lock);
        if (!changed.wait_for(hold, std::chrono::seconds(10), [&] { return flowing; })) return;
        hold.unlock();
        requestedAt = Clock::now().time_since_epoch().count();
        handle->Request();
    });
    std::string failure = f.Run(inet::httpGet);
    auto endedAt = Clock::now();
    stopper.join();
    EXPECT_EQ("301: Interrupted.", failure);
    ASSERT_NE(0, requestedAt.load());
    auto latency = endedAt - Clock::time_point(Clock::duration(requestedAt.load()));
    EXPECT_LT(latency, std::chrono::milliseconds(50));

    f.http.OnTransfer = [&](auto&, int, std::int64_t, const std::string& text) { f.body += text; };
    f.http.SetURL(Url("/cam.jpg"));
    ASSERT_EQ("", f.Run(inet::httpGet));
    EXPECT_TRUE(f.body == picture_);
}

class ProxyTest : public NginxTest {
protected:
    void SetUp() override {
        NginxTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        ORVELLO_NEED_PEER("tinyproxy");
        proxy_ = std::make_unique<testsupport::TinyproxyPeer>(temp_.path(), "proxyuser", "proxypass");
        ASSERT_TRUE(proxy_->Running()) << proxy_->Log();
    }
    // Set up as the fetch thread does: the proxy login goes out as an extra header line.
    void UseProxy(Fetcher& f, const std::string& user, const std::string& password) {
        f.http.SetProxyServer("127.0.0.1");
        f.http.SetProxyPort(proxy_->port());
        f.http.SetUser(user);
        f.http.SetPassword(password);
        f.http.ExtraHeaders().push_back("Proxy-Authorization: " + f.http.Authorization());
        f.http.SetUser("");
        f.http.SetPassword("");
        f.http.SetURL(Url("/cam.jpg"));
    }
    std::unique_ptr<testsupport::TinyproxyPeer> proxy_;
};

// tinyproxy asks for a login with 407 and refuses a wrong one with 401.
TEST_F(ProxyTest, TheProxyAsksForItsLoginAndPassesTheRightOne) {
    Fetcher none;
    none.http.SetProxyServer("127.0.0.1");
    none.http.SetProxyPort(proxy_->port());
    none.http.SetURL(Url("/cam.jpg"));
    EXPECT_TRUE(none.Run(inet::httpGet).starts_with("151: 407 ")) << none.body;

    Fetcher wrong;
    UseProxy(wrong, "proxyuser", "nope");
    EXPECT_TRUE(wrong.Run(inet::httpGet).starts_with("151: 401 ")) << wrong.body;

    Fetcher right;
    UseProxy(right, "proxyuser", "proxypass");
    ASSERT_EQ("", right.Run(inet::httpGet)) << proxy_->Log();
    EXPECT_TRUE(right.body == picture_);
    EXPECT_EQ(std::to_string(picture_.size()), right.headers["Content-Length"]);
}

}  // namespace
