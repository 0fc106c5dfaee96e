// The fetch threads inside a real manager with 4 threads, against nginx and scripted peers,
// with a short inactivity limit and error pause.

#include "engine/fetch_thread_services.h"
#include "engine/logs.h"
#include "engine/regconfig.h"
#include "engine/webcam.h"
#include "engine/webcam_manager.h"
#include "platform/dispatch.h"
#include "tests/engine/fetch_thread_fixture.h"
#include "tests/engine/jpeg_test_pictures.h"
#include "tests/support/loopback_peer.h"
#include "tests/support/nginx_peer.h"
#include "tests/support/peers.h"
#include "tests/support/temp_dir.h"
#include "tests/support/tinyproxy_peer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <mutex>
#include <regex>

namespace {

namespace fs = std::filesystem;
using testsupport::LoopbackPeer;
using namespace std::chrono_literals;

using enginetest::kLimit;

class FetchThreadPeerTest : public enginetest::FetchThreadFixture {};

// Which request a turn starts with, by the webcam's settings and its stored header.
TEST_F(FetchThreadPeerTest, HeaderCheckDecisionTable) {
    struct Case {
        const char* what;
        int refresh;
        std::uint8_t headCheck, noCheck;
        const char* headerTxt;  // nullptr: no header.txt
        const char* firstLine;
        const char* ifModifiedSince;  // nullptr: none sent
    };
    const Case cases[] = {
        {"refresh 0", 0, 1, 0, "Last-Modified Tue, 15 Nov 1994 08:12:31 GMT\n", "GET ", nullptr},
        {"no check", 60, 1, 1, "Last-Modified Tue, 15 Nov 1994 08:12:31 GMT\n", "GET ", nullptr},
        {"head check", 60, 1, 0, nullptr, "HEAD ", nullptr},
        {"stored date", 60, 0, 0, "Date Tue, 15 Nov 1994 09:00:00 GMT\nLast-Modified Tue, 15 Nov 1994 08:12:31 GMT\n",
         "GET ", "If-Modified-Since: Tue, 15 Nov 1994 08:12:31 GMT\r\n"},
        {"lines, no date", 60, 0, 0, "Server x\n", "HEAD ", nullptr},
        {"no header.txt", 60, 0, 0, nullptr, "GET ", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LoopbackPeer peer({LoopbackPeer::ReceiveUntil("\r\n\r\n"), LoopbackPeer::Send("HTTP/1.0 500 No\r\n\r\n"),
                           LoopbackPeer::Close()});
        TearDown();
        SetUp();
        Add("http://127.0.0.1:" + std::to_string(peer.port()) + "/a.jpg", c.refresh, c.headCheck, c.noCheck);
        if (c.headerTxt) testsupport::WriteFile(Folder() / "header.txt", c.headerTxt);
        manager_->StartWebcam(1);
        ASSERT_TRUE(WaitFor([&] { return peer.WaitScriptDone(0ms); }));
        const std::string got = peer.Received();
        EXPECT_EQ(got.rfind(c.firstLine, 0), 0u) << got;
        EXPECT_NE(got.find("Pragma: no-cache\r\n"), std::string::npos);
        if (c.ifModifiedSince) EXPECT_NE(got.find(c.ifModifiedSince), std::string::npos) << got;
        else EXPECT_EQ(got.find("If-Modified-Since"), std::string::npos) << got;
        manager_->StopWebcam(1);
    }
}

TEST_F(FetchThreadPeerTest, ChangedPictureSavedThenUnchangedEndsIn304) {
    ORVELLO_NEED_PEER("nginx");
    testsupport::NginxPeer nginx(temp_.path() / "nginx");
    ASSERT_TRUE(nginx.Running());
    testsupport::WriteFile(nginx.root() / "a.jpg", testpictures::SquaresPicture(2));
    Add(nginx.Url("/a.jpg"), 1);
    manager_->StartWebcam(1);
    ASSERT_TRUE(WaitFor([&] { return fs::exists(Folder() / "header.txt") && pictures_ == 1 && Count(5) >= 1; }));
    ASSERT_EQ(Jpegs().size(), 1u);
    EXPECT_TRUE(std::regex_match(Jpegs()[0].filename().string(), std::regex("[0-9]{14}\\.jpg")));
    const std::string header = testsupport::ReadFile(Folder() / "header.txt");
    EXPECT_NE(header.find("Last-Modified "), std::string::npos);
    // The next turn asks with the stored date and gets 304: nothing saved, nothing logged.
    ASSERT_TRUE(WaitFor([&] { return Count(4) >= 2 && Count(5) >= 2; }));
    EXPECT_EQ(pictures_, 1);
    EXPECT_EQ(testsupport::ReadFile(Folder() / "header.txt"), header);
    EXPECT_EQ(Errors(), "");
    EXPECT_EQ(Count(engine::kStatusError), 0);
    // A header.txt changed between turns is the one the next turn asks with: an older date
    // brings the picture again.
    testsupport::WriteFile(Folder() / "header.txt", "Last-Modified Thu, 01 Jan 1998 00:00:00 GMT\r\n");
    ASSERT_TRUE(WaitFor([&] { return pictures_ == 2; }));
    EXPECT_NE(testsupport::ReadFile(Folder() / "header.txt"), "Last-Modified Thu, 01 Jan 1998 00:00:00 GMT\r\n");
    manager_->StopWebcam(1);
}

TEST_F(FetchThreadPeerTest, NotFoundPictureIsLoggedWithItsFourGroupsAndStatus7) {
    ORVELLO_NEED_PEER("nginx");
    testsupport::NginxPeer nginx(temp_.path() / "nginx");
    ASSERT_TRUE(nginx.Running());
    Add(nginx.Url("/missing.jpg"), 60);
    manager_->StartWebcam(1);
    ASSERT_TRUE(WaitFor([&] { return Count(engine::kStatusError) == 1 && Count(5) >= 1; }));
    manager_->StopWebcam(1);
    const std::string log = Errors();
    EXPECT_TRUE(std::regex_search(log, std::regex("^[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2} - cam > "
                                                  "Error fetching picture: 151: 404 Not Found\n")))
        << log;
    EXPECT_NE(log.find("\nURL was " + nginx.Url("/missing.jpg") + "\n"), std::string::npos) << log;
    EXPECT_NE(log.find("\nServer nginx"), std::string::npos) << log;
    EXPECT_EQ(log.substr(log.size() - 3), "\n \n") << log;
    EXPECT_EQ(pictures_, 0);
}

// A stall after the headers is ended silently after the limit; a body that trickles in a byte
// every 80% of the limit is not.
TEST_F(FetchThreadPeerTest, InactivityLimitEndsStallsButNotTrickles) {
    const std::string head = "HTTP/1.0 200 OK\r\nContent-Length: 4\r\n\r\n";
    {
        LoopbackPeer peer({LoopbackPeer::ReceiveUntil("\r\n\r\n"), LoopbackPeer::Send(head), LoopbackPeer::Delay(5s)});
        Add("http://127.0.0.1:" + std::to_string(peer.port()) + "/a.jpg", 60);
        manager_->StartWebcam(1);
        ASSERT_TRUE(WaitFor([&] { return Count(5) >= 1; }));
        EXPECT_EQ(pictures_, 0);
        EXPECT_EQ(Count(engine::kStatusError), 0);
        EXPECT_EQ(Errors(), "");
        manager_->StopWebcam(1);
    }
    TearDown();
    SetUp();
    // A longer limit here, so that the 20% left between chunks holds on a loaded machine too.
    const auto limit = std::chrono::milliseconds(1000);
    settings_->inactivityLimit = limit;
    const std::string head3 = "HTTP/1.0 200 OK\r\nContent-Length: 3\r\n\r\n";
    std::vector<LoopbackPeer::Step> script{LoopbackPeer::ReceiveUntil("\r\n\r\n"), LoopbackPeer::Send(head3)};
    for (int i = 0; i < 3; ++i) {
        script.push_back(LoopbackPeer::Delay(limit * 8 / 10));
        script.push_back(LoopbackPeer::Send("x"));
    }
    script.push_back(LoopbackPeer::Close());
    LoopbackPeer peer(script);
    Add("http://127.0.0.1:" + std::to_string(peer.port()) + "/a.jpg", 60);
    manager_->StartWebcam(1);
    ASSERT_TRUE(WaitFor([&] { return Count(5) >= 1; }));
    EXPECT_EQ(pictures_, 1);
    EXPECT_EQ(lastPicture_, "xxx");
    // Bytes that are no picture leave no header.txt, so the next turn fetches again.
    EXPECT_FALSE(fs::exists(Folder() / "header.txt"));
    manager_->StopWebcam(1);
}

TEST_F(FetchThreadPeerTest, StopDuringTransferIsSilentAndWaitsForTheThread) {
    LoopbackPeer peer({LoopbackPeer::ReceiveUntil("\r\n\r\n"),
                       LoopbackPeer::Send("HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\nabc"), LoopbackPeer::Gate()});
    engine::twebcam& webcam = Add("http://127.0.0.1:" + std::to_string(peer.port()) + "/a.jpg", 60);
    manager_->StartWebcam(1);
    ASSERT_TRUE(WaitFor([&] { return Count(4) >= 1 && peer.Received().find("\r\n\r\n") != std::string::npos; }));
    manager_->StopWebcam(1);
    EXPECT_FALSE(webcam.FBusy);
    EXPECT_EQ(statuses_.back(), engine::kStatusStopped);
    EXPECT_EQ(Count(engine::kStatusError), 0);
    EXPECT_EQ(Count(5), 0);
    EXPECT_EQ(Errors(), "");
    peer.OpenGate();
}

// The request of a turn: the lower-case marker replaced once, the referring page, the lines of
// addhead.txt after the fixed ones.
TEST_F(FetchThreadPeerTest, RequestCarriesStampRefererAndExtraLines) {
    LoopbackPeer peer({LoopbackPeer::ReceiveUntil("\r\n\r\n"), LoopbackPeer::Send("HTTP/1.0 500 No\r\n\r\n"),
                       LoopbackPeer::Close()});
    Add("http://127.0.0.1:" + std::to_string(peer.port()) + "/a.jpg?t=%timestamp%&u=%TIMESTAMP%", 60);
    testsupport::WriteFile(Folder() / "addhead.txt", "X-One: 1\nX-Two: 2\n");
    manager_->StartWebcam(1);
    ASSERT_TRUE(WaitFor([&] { return peer.WaitScriptDone(0ms); }));
    const std::string got = peer.Received();
    EXPECT_TRUE(std::regex_search(got, std::regex("^GET /a\\.jpg\\?t=[0-9]{13}&u=%TIMESTAMP% HTTP/1\\.0\r\n"))) << got;
    EXPECT_NE(got.find("Referer: http://example.org/cam.html\r\n"), std::string::npos) << got;
    EXPECT_NE(got.find("Pragma: no-cache\r\nX-One: 1\r\nX-Two: 2\r\n"), std::string::npos) << got;
    manager_->StopWebcam(1);
}

// HEAD answers: an equal Last-Modified (in another case) ends the turn, a 404 ends it after one
// entry, a refused connection is logged and the GET follows.
TEST_F(FetchThreadPeerTest, HeaderRequestOutcomes) {
    const std::string stored = "Last-Modified Tue, 15 Nov 1994 08:12:31 GMT\r\n";
    {
        LoopbackPeer peer({LoopbackPeer::ReceiveUntil("\r\n\r\n"),
                           LoopbackPeer::Send("HTTP/1.0 200 OK\r\nLast-Modified: TUE, 15 NOV 1994 08:12:31 GMT\r\n\r\n"),
                           LoopbackPeer::Close()});
        Add("http://127.0.0.1:" + std::to_string(peer.port()) + "/a.jpg", 60, 1);
        testsupport::WriteFile(Folder() / "header.txt", stored);
        manager_->StartWebcam(1);
        ASSERT_TRUE(WaitFor([&] { return Count(5) >= 1; }));
        EXPECT_EQ(peer.Received().rfind("HEAD ", 0), 0u);
        EXPECT_EQ(Count(engine::kStatusHeader), 1);
        EXPECT_EQ(Count(engine::kStatusPicture), 0);  // no GET
        EXPECT_EQ(testsupport::ReadFile(Folder() / "header.txt"), stored);
        EXPECT_EQ(Errors(), "");
        manager_->StopWebcam(1);
    }
    TearDown();
    SetUp();
    Add("http://127.0.0.1:" + std::to_string(testsupport::ClosedLoopbackPort()) + "/a.jpg", 60, 1);
    manager_->StartWebcam(1);
    ASSERT_TRUE(WaitFor([&] { return Count(engine::kStatusError) == 1; }));
    manager_->StopWebcam(1);
    const std::string log = Errors();
    EXPECT_NE(log.find("> Error fetching header: "), std::string::npos) << log;
    EXPECT_GT(log.find("> Error fetching picture: "), log.find("> Error fetching header: ")) << log;
}

TEST_F(FetchThreadPeerTest, NotFoundOnHeadEndsTheTurnAfterOneEntry) {
    ORVELLO_NEED_PEER("nginx");
    testsupport::NginxPeer nginx(temp_.path() / "nginx");
    ASSERT_TRUE(nginx.Running());
    Add(nginx.Url("/missing.jpg"), 60, 1);
    manager_->StartWebcam(1);
    ASSERT_TRUE(WaitFor([&] { return Count(5) >= 1; }));
    manager_->StopWebcam(1);
    const std::string log = Errors();
    EXPECT_NE(log.find("> Error fetching header: 151: 404"), std::string::npos) << log;
    EXPECT_EQ(log.find("Error fetching picture"), std::string::npos) << log;
    EXPECT_EQ(Count(engine::kStatusPicture), 0);
    EXPECT_EQ(Count(engine::kStatusError), 0);
}

// A server that refuses HEAD (405) is logged once and the picture is fetched with a plain GET;
// a body past the cap is a logged picture error that writes nothing.
TEST_F(FetchThreadPeerTest, HeadRefusedFallsBackToGetAndOversizedBodyIsAnError) {
    ORVELLO_NEED_PEER("nginx");
    testsupport::NginxPeer nginx(temp_.path() / "nginx",
                                 "    location /nohead/ { if ($request_method = HEAD) { return 405; } }\n");
    ASSERT_TRUE(nginx.Running());
    std::filesystem::create_directories(nginx.root() / "nohead");
    const std::string picture = testpictures::SquaresPicture(1);
    testsupport::WriteFile(nginx.root() / "nohead" / "a.jpg", picture);
    Add(nginx.Url("/nohead/a.jpg"), 60, 1);
    manager_->StartWebcam(1);
    ASSERT_TRUE(WaitFor([&] { return Count(5) >= 1; }));
    manager_->StopWebcam(1);
    std::string log = Errors();
    EXPECT_NE(log.find("> Error fetching header: 151: 405"), std::string::npos) << log;
    EXPECT_EQ(log.find("Error fetching picture"), std::string::npos) << log;
    EXPECT_EQ(lastPicture_, picture);
    EXPECT_EQ(Jpegs().size(), 1u);

    TearDown();
    SetUp();
    settings_->maxPictureBytes = picture.size() - 1;
    Add(nginx.Url("/nohead/a.jpg"), 60);
    manager_->StartWebcam(1);
    ASSERT_TRUE(WaitFor([&] { return Count(engine::kStatusError) == 1 && Count(5) >= 1; }));
    manager_->StopWebcam(1);
    log = Errors();
    EXPECT_NE(log.find("> Error fetching picture: Picture larger than " + std::to_string(picture.size() - 1) +
                       " bytes\n"),
              std::string::npos)
        << log;
    EXPECT_EQ(pictures_, 0);
    EXPECT_FALSE(fs::exists(Folder() / "header.txt"));
    EXPECT_TRUE(Jpegs().empty());
}

// Through tinyproxy with its login, to a folder behind nginx's auth_basic with the webcam's.
TEST_F(FetchThreadPeerTest, ProxyWithLoginAndWebcamLogin) {
    ORVELLO_NEED_PEER("nginx");
    ORVELLO_NEED_PEER("tinyproxy");
    testsupport::NginxPeer nginx(temp_.path() / "nginx", testsupport::NginxPeer::BasicAuthLocation(
                                                              temp_.path() / "htpasswd", "/cams/", "anna", "anna-pw"));
    testsupport::TinyproxyPeer proxy(temp_.path() / "proxy", "pu", "pp");
    ASSERT_TRUE(nginx.Running());
    ASSERT_TRUE(proxy.Running());
    std::filesystem::create_directories(nginx.root() / "cams");
    testsupport::WriteFile(nginx.root() / "cams" / "a.jpg", testpictures::SquaresPicture(3));
    config_.UseProxy = 1;
    config_.ProxyHost = "127.0.0.1";
    config_.ProxyPort = proxy.port();
    engine::TExtra1Rec extra1 = engine::DefaultExtra1();
    extra1.ProxyUser = "pu";
    extra1.ProxyPassword = "pp";
    MakeManager(extra1);
    Add(nginx.Url("/cams/a.jpg"), 60, 0, 0, "anna");
    manager_->StartWebcam(1);
    ASSERT_TRUE(WaitFor([&] { return Count(5) >= 1; })) << Errors();
    EXPECT_EQ(pictures_, 1) << Errors();
    EXPECT_EQ(lastPicture_, testpictures::SquaresPicture(3));
    EXPECT_EQ(Jpegs().size(), 1u);
    EXPECT_EQ(Errors(), "");
    manager_->StopWebcam(1);
}

// A worker that ends once without being asked is replaced in its own slot.
class EndsOnce : public engine::treadthread {
public:
    EndsOnce(engine::twebcammanager& m, int index, std::shared_ptr<const engine::FetchThreadSettings> s,
             std::atomic<bool>* endNow)
        : treadthread(m, index, std::move(s)), endNow_(endNow) {}

protected:
    void Execute() override {
        if (endNow_ && endNow_->exchange(false)) return;
        treadthread::Execute();
    }

private:
    std::atomic<bool>* endNow_;
};

TEST_F(FetchThreadPeerTest, ThreadThatEndedUnaskedIsReplacedAtItsIndex) {
    std::atomic<bool> endNow{true};
    std::vector<int> made;
    auto services = engine::FetchThreadServices(settings_);
    services.fetchWorkers = [&](engine::twebcammanager& m, int index) -> std::unique_ptr<engine::tfetchworker> {
        made.push_back(index);
        return std::make_unique<EndsOnce>(m, index, settings_, index == 3 ? &endNow : nullptr);
    };
    manager_.reset();
    manager_ = std::make_unique<engine::twebcammanager>(dataDir().string() + "/", 4, engine::DefaultExtra1(), config_,
                                                        std::move(services));
    engine::tfetchworker* first = manager_->FThreads[2].get();
    manager_->ResumeThreads();
    ASSERT_TRUE(WaitFor([&] { return made.size() == 5 && manager_->FThreads[2]->Started(); }));
    EXPECT_EQ(made.back(), 3);
    EXPECT_NE(manager_->FThreads[2].get(), first);
    EXPECT_EQ(manager_->FThreads[2]->FIndex, 3);
    EXPECT_FALSE(manager_->FThreads[2]->Finished());
}

}  // namespace
