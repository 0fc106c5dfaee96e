// The stream thread inside a real manager, against the scripted MJPEG peer and ffmpeg's own
// multipart output: the stream variants of real cameras, how a connection ends and what the
// thread waits before the next one, port 4020, local files and stopping.

#include "engine/fetch_thread_services.h"
#include "engine/jpeg_picture.h"
#include "engine/logs.h"
#include "engine/regconfig.h"
#include "engine/stream_thread.h"
#include "engine/webcam.h"
#include "engine/webcam_manager.h"
#include "platform/dispatch.h"
#include "tests/engine/jpeg_test_pictures.h"
#include "tests/support/loopback_peer.h"
#include "tests/support/manual_clock.h"
#include "tests/support/hostile_peer.h"
#include "tests/support/mjpeg_peer.h"
#include "tests/support/peers.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>
#include <poll.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <regex>

namespace {

namespace fs = std::filesystem;
using testsupport::MjpegPeer;
using testsupport::MultipartBody;
using testsupport::MultipartHead;
using testsupport::PartStyle;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// The inactivity limit of the stream threads here: long enough that a peer on a loaded machine
// (sanitizers, parallel tests) keeps within it.
constexpr auto kLimit = 2s;

std::vector<std::string> Pictures(int count) {
    std::vector<std::string> pictures;
    for (int i = 1; i <= count; ++i) pictures.push_back(testpictures::SquaresPicture(i));
    return pictures;
}

std::string Join(const std::vector<std::string>& pictures) {
    std::string all;
    for (const std::string& p : pictures) all += p;
    return all;
}

// A reply whose bytes (head and body together) are sent once, or on and on for Repeat.
MjpegPeer::Reply Reply(std::string bytes, MjpegPeer::End end = MjpegPeer::End::Close, std::size_t piece = 1000) {
    MjpegPeer::Reply reply;
    reply.body = std::move(bytes);
    reply.end = end;
    reply.piece = piece;
    return reply;
}

class StreamThreadTest : public testsupport::IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        // Each case of a table starts afresh.
        fs::remove(programDir() / "errors.txt");
        fs::remove_all(dataDir());
        fs::create_directories(dataDir());
        statuses_.clear();
        frames_.clear();
        onPicture_ = nullptr;
        diskman_ = engine::DefaultDiskMan();
        diskman_.GlobalSaveOn = 0;  // each webcam's own mode: 0, save every picture
        log_.FFileName = (programDir() / "errors.txt").string();
        log_.FEnabled = true;
        auto settings = std::make_shared<engine::FetchThreadSettings>();
        settings->errorLog = &log_;
        settings->inactivityLimit = kLimit;
        settings->newFrame = [this, step = engine::StreamPictureStep(diskman_)](
                                 engine::twebcam& webcam, const std::string& frame, engine::PreparedPicture* prepared) {
            frames_.push_back(frame);
            // Frames saved within one hundredth of a second would get one name; the clock moves
            // on by a second per frame, so every saved frame keeps a file of its own.
            clock_.AdvanceSeconds(1);
            return step(webcam, frame, prepared);
        };
        settings_ = settings;
        MakeManager(engine::DefaultConfig());
    }
    void TearDown() override {
        manager_.reset();
        IsolatedTest::TearDown();
    }
    void MakeManager(const engine::TConfigRec& config) {
        manager_.reset();
        manager_ = std::make_unique<engine::twebcammanager>(
            dataDir().string() + "/", 4, engine::DefaultExtra1(), config,
            engine::FetchThreadServices(settings_, engine::StreamThreadFactory(settings_)));
        manager_->OnStatusChange = [this](int, int status) { statuses_.push_back(status); };
        manager_->OnStreamPicture = [this](int, const std::string&, const std::string*, std::uint8_t,
                                           engine::twebcampicture*, int) {
            if (onPicture_) onPicture_();
        };
    }
    engine::twebcam& Add(const std::string& url, int refresh) {
        auto rec = engine::ZeroRecord<engine::TWebcamDefRec>();
        rec.LinkURL = "http://example.org/cam.html";
        rec.PictureURL = url;
        rec.Name = "cam";
        rec.Refresh = refresh;
        rec.Enabled = 1;
        rec.WebcamType = engine::kWebcamTypeStream;
        rec.SaveMode = engine::kSaveEvery;
        return manager_->AppendWebcam(rec, engine::ZeroRecord<engine::TWebcamDef1Rec>(), false);
    }
    fs::path Folder() const { return dataDir() / "cam"; }
    // Runs the main thread's calls until done() holds; false after 20 s.
    bool WaitFor(const std::function<bool()>& done) {
        return platform::Dispatcher::Main().WaitUntil(done, 5ms, Clock::now() + 20s);
    }
    // The saved pictures' names and bytes, in name order.
    std::vector<std::pair<std::string, std::string>> Saved() const {
        std::vector<std::pair<std::string, std::string>> saved;
        for (const auto& e : fs::directory_iterator(Folder()))
            if (e.path().extension() == ".jpg")
                saved.emplace_back(e.path().filename().string(), testsupport::ReadFile(e.path()));
        std::sort(saved.begin(), saved.end());
        return saved;
    }
    std::string Errors() const {
        return fs::exists(log_.FFileName) ? testsupport::ReadFile(log_.FFileName) : std::string();
    }
    static std::size_t Count(const std::string& text, const std::string& what) {
        std::size_t n = 0;
        for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
        return n;
    }

    testsupport::ManualClock clock_;
    engine::TDiskManRec diskman_{};
    engine::terrorlog log_;
    std::shared_ptr<engine::FetchThreadSettings> settings_;
    std::unique_ptr<engine::twebcammanager> manager_;
    std::vector<int> statuses_;
    std::vector<std::string> frames_;  // what the stream-frame step was handed
    std::function<void()> onPicture_;  // in the manager's stream-picture event
};

// Five pictures in the forms real cameras send them, then the server closes: five saved pictures
// with 16-digit names and exactly the received bytes, status 4 throughout, one connection.
TEST_F(StreamThreadTest, RealStreamVariantsDeliverEveryPicture) {
    struct Variant {
        const char* what;
        std::string head;
        PartStyle style;
        bool multipart;
        std::size_t piece;
    };
    PartStyle noFirstBoundary, noLengths, mixed, parameters;
    noFirstBoundary.firstBoundary = false;
    noLengths.contentLength = false;
    mixed.boundary = "myboundary";
    parameters.contentType = "image/jpeg; name=\"cam.jpg\"";
    const Variant variants[] = {
        {"x-mixed-replace with part lengths", MultipartHead(), {}, true, 1000},
        {"no first boundary", MultipartHead(), noFirstBoundary, true, 1000},
        {"no part lengths, small pieces", MultipartHead(), noLengths, true, 333},
        {"multipart/mixed", MultipartHead("multipart/mixed", "myboundary"), mixed, true, 4096},
        {"parameters after image/jpeg, 7-byte pieces", MultipartHead(), parameters, true, 7},
        {"raw pictures without a head", "", {}, false, 1500},
    };
    const std::vector<std::string> pictures = Pictures(5);
    for (const Variant& v : variants) {
        SCOPED_TRACE(v.what);
        TearDown();
        SetUp();
        MjpegPeer peer({Reply(v.head + (v.multipart ? MultipartBody(pictures, v.style) : Join(pictures)),
                              MjpegPeer::End::Close, v.piece)});
        Add(peer.Url("/cam?t=%TIMESTAMP%"), 60);
        manager_->StartWebcam(1);
        ASSERT_TRUE(WaitFor([&] { return peer.WaitEnded(1, 0ms) && frames_.size() >= 5; }));
        EXPECT_EQ(frames_, pictures);
        const auto saved = Saved();
        ASSERT_EQ(saved.size(), 5u);
        for (std::size_t i = 0; i < saved.size(); ++i) {
            EXPECT_TRUE(std::regex_match(saved[i].first, std::regex("[0-9]{16}\\.jpg"))) << saved[i].first;
            EXPECT_EQ(saved[i].second, pictures[i]);
        }
        EXPECT_EQ(statuses_, std::vector<int>{engine::kStatusPicture});
        EXPECT_EQ(Errors(), "");
        const auto visits = peer.Visits();
        EXPECT_EQ(visits.size(), 1u);
        const std::string& request = visits[0].request;
        EXPECT_EQ(request.rfind("GET /cam?t=%TIMESTAMP% HTTP/1.0\r\n", 0), 0u) << request;
        EXPECT_NE(request.find("Pragma: no-cache\r\nConnection: Keep-Alive\r\n"), std::string::npos) << request;
        EXPECT_NE(request.find("Referer: http://example.org/cam.html\r\n"), std::string::npos) << request;
        manager_->StopWebcam(1);
        EXPECT_EQ(statuses_.back(), engine::kStatusStopped);
    }
}

// How the first connection ends decides what is delivered, what is logged and how long the
// thread waits before the second connection (which then stays silent).
TEST_F(StreamThreadTest, ConnectionEndingsDecideLastFrameLogAndWait) {
    const std::vector<std::string> p = Pictures(2);
    const std::string half = p[1].substr(0, p[1].size() / 2);
    const std::string cut = MultipartHead() + MultipartBody({p[0]}) + "--frame\r\n\r\n" + half;
    struct Case {
        const char* what;
        MjpegPeer::Reply reply;
        int refresh;
        std::vector<std::string> frames;
        const char* logged;  // the error text's start; nullptr: no entry
        std::chrono::milliseconds minWait;
        std::chrono::milliseconds limit = kLimit;  // of inactivity
    };
    // A reset throws away what the client has not read yet: the peer gives it a second first
    // (quiet time within the limit), and the last frame may still come out shorter.
    MjpegPeer::Reply resetLater = Reply(cut, MjpegPeer::End::Reset, cut.size());
    resetLater.pause = 1000ms;
    const Case cases[] = {
        {"closed mid-picture: the rest is the last frame", Reply(cut), 0, {p[0], half}, nullptr, 0ms},
        {"closed after one picture, Refresh 2", Reply(MultipartHead() + MultipartBody({p[0]})), 2, {p[0]}, nullptr,
         2000ms},
        {"reset mid-picture: logged, the rest is the last frame", resetLater, 0, {p[0], half}, "100", 1000ms, 10s},
        {"quiet mid-picture: silent, no last frame", Reply(cut, MjpegPeer::End::Stall), 0, {p[0]}, nullptr,
         kLimit + 1000ms},
        {"404: logged", Reply("HTTP/1.0 404 Not Found\r\n\r\n"), 0, {}, "151: 404 Not Found", 1000ms},
        // Sent on and on, never quiet: only the size limit ends this connection (its wait is not
        // measured here).
        {"4 MiB without a picture: dropped silently",
         Reply(MultipartHead() + std::string(1 << 20, 'x'), MjpegPeer::End::Repeat, 65536), 0, {}, nullptr, 0ms, 60s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        SetUp();
        settings_->inactivityLimit = c.limit;
        MjpegPeer peer({c.reply, Reply("", MjpegPeer::End::Stall)});
        Add(peer.Url("/cam"), c.refresh);
        manager_->StartWebcam(1);
        ASSERT_TRUE(WaitFor([&] { return peer.WaitAccepted(2, 0ms); }));
        manager_->StopWebcam(1);
        ASSERT_EQ(frames_.size(), c.frames.size());
        for (std::size_t i = 0; i < frames_.size(); ++i) {
            if (c.reply.end == MjpegPeer::End::Reset && i + 1 == frames_.size())
                EXPECT_TRUE(!frames_[i].empty() && c.frames[i].starts_with(frames_[i]));
            else
                EXPECT_EQ(frames_[i], c.frames[i]);
        }
        const auto visits = peer.Visits();
        const auto wait = visits[1].accepted - visits[0].sent;
        EXPECT_GE(wait, c.minWait);
        EXPECT_LT(wait, c.minWait + 10s);
        const std::string log = Errors();
        if (c.logged) {
            EXPECT_EQ(Count(log, "Error fetching picture"), 1u) << log;
            EXPECT_TRUE(std::regex_search(
                log, std::regex("^[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2} - cam > Error fetching "
                                "picture: " +
                                std::string(c.logged) + "[^\n]*\nURL was " + peer.Url("/cam") + "\n \n$")))
                << log;
        } else {
            EXPECT_EQ(log, "");
        }
        EXPECT_EQ(statuses_, (std::vector<int>{engine::kStatusPicture, engine::kStatusStopped}));
    }
}

// Nothing listens: every attempt is logged, and with Refresh 0 they come at most once a second.
TEST_F(StreamThreadTest, RefusedPortIsRetriedAtMostOncePerSecond) {
    const std::string url = "http://127.0.0.1:" + std::to_string(testsupport::ClosedLoopbackPort()) + "/cam";
    Add(url, 0);
    manager_->StartWebcam(1);
    Clock::time_point first, third;
    ASSERT_TRUE(WaitFor([&] {
        const std::size_t attempts = Count(Errors(), "Error fetching picture");
        if (attempts >= 1 && first == Clock::time_point()) first = Clock::now();
        if (attempts >= 3) third = Clock::now();
        return attempts >= 3;
    }));
    manager_->StopWebcam(1);
    EXPECT_GE(third - first, 1800ms);
    EXPECT_NE(Errors().find("> Error fetching picture: 10061"), std::string::npos) << Errors();
    EXPECT_EQ(statuses_, (std::vector<int>{engine::kStatusPicture, engine::kStatusStopped}));
}

// A server that closes without a picture, or sends a page: with Refresh 0 the thread connects
// again at most once a second, and each such connection sets status 7 and is logged with its
// reason.
TEST_F(StreamThreadTest, ConnectionsWithoutAPictureAreRetriedAtMostOncePerSecond) {
    using Kind = testsupport::HostilePeer::Kind;
    for (const auto& [kind, reason] : {std::pair{Kind::EmptyReply, "empty reply"},
                                       std::pair{Kind::Html, "not a JPEG picture"}}) {
        SCOPED_TRACE(testsupport::HostilePeer::KindName(kind));
        testsupport::HostilePeer peer(kind);
        Add(peer.Url("/cam"), 0);
        const auto start = Clock::now();
        manager_->StartWebcam(1);
        ASSERT_TRUE(WaitFor([&] { return Count(Errors(), "Error fetching picture") >= 3; }));
        EXPECT_GE(Clock::now() - start, 1900ms);
        manager_->StopWebcam(1);
        const std::string log = Errors();
        EXPECT_EQ(Count(log, "Error fetching picture: " + std::string(reason) + "\nURL was " + peer.Url("/cam")),
                  Count(log, "Error fetching picture"))
            << log;
        EXPECT_LE(Count(log, "Error fetching picture"), static_cast<std::size_t>(peer.Connections()));
        EXPECT_EQ(statuses_, (std::vector<int>{engine::kStatusPicture, engine::kStatusError, engine::kStatusStopped}));
        TearDown();
        SetUp();
    }
}

// Frames that are no picture among good ones: the stream reads on and every picture is saved;
// each bad frame sets status 7 and the next picture status 4 again, and the connection's
// error log has one entry, not one per bad frame.
TEST_F(StreamThreadTest, FramesThatAreNoPictureAreLoggedOnceAndTheStreamGoesOn) {
    const std::vector<std::string> p = Pictures(3);
    // A picture start whose first segment is followed by no marker: its header does not read.
    const std::string bad = std::string("\xFF\xD8\xFF\xE0\x00\x04", 6) + "ab" + std::string(500, 'x');
    MjpegPeer peer({Reply(MultipartHead() + MultipartBody({p[0], bad, p[1], bad, p[2]}), MjpegPeer::End::Stall)});
    Add(peer.Url("/cam"), 0);
    manager_->StartWebcam(1);
    ASSERT_TRUE(WaitFor([&] { return Saved().size() == 3 && statuses_.size() == 5; }))
        << frames_.size() << " frames, " << Saved().size() << " saved; " << Errors();
    manager_->StopWebcam(1);
    EXPECT_EQ(frames_.size(), 5u);
    for (std::size_t i = 0; i < p.size(); ++i) EXPECT_EQ(Saved()[i].second, p[i]);
    EXPECT_EQ(statuses_, (std::vector<int>{engine::kStatusPicture, engine::kStatusError, engine::kStatusPicture,
                                           engine::kStatusError, engine::kStatusPicture, engine::kStatusStopped}));
    const std::string log = Errors();
    EXPECT_EQ(Count(log, "Error fetching picture"), 1u) << log;
    EXPECT_TRUE(std::regex_search(log, std::regex(" - cam > Error fetching picture: not a JPEG picture\nURL was " +
                                                  peer.Url("/cam") + "\n \n$")))
        << log;
    EXPECT_EQ(peer.Visits().size(), 1u);
}

// A server on port 4020 sends one picture per connection: the thread closes each connection
// after its first picture and connects again at once, not after Refresh (60 s). Checked on
// port 4020 itself when it is free, and always through a proxy, so that the URL names port
// 4020 while the peer listens elsewhere.
TEST_F(StreamThreadTest, Port4020GivesOneFramePerConnection) {
    const std::vector<std::string> p = Pictures(3);
    MjpegPeer::Reply raw = Reply(Join(p), MjpegPeer::End::Repeat, 4096);
    raw.readRequest = false;  // a camera that sends as soon as it is connected
    MjpegPeer::Reply proxied = Reply(Join(p), MjpegPeer::End::Repeat, 4096);
    for (const bool viaProxy : {false, true}) {
        SCOPED_TRACE(viaProxy ? "through a proxy" : "on port 4020");
        TearDown();
        SetUp();
        MjpegPeer peer({viaProxy ? proxied : raw}, viaProxy ? 0 : engine::kOneFramePort);
        if (!peer.Listening()) {
            ASSERT_FALSE(viaProxy);
            std::cout << "port 4020 is taken on this machine: its rule is checked through the proxy only\n";
            continue;
        }
        if (viaProxy) {
            engine::TConfigRec config = engine::DefaultConfig();
            config.UseProxy = 1;
            config.ProxyHost = "127.0.0.1";
            config.ProxyPort = peer.port();
            MakeManager(config);
        }
        Add("http://127.0.0.1:4020/cam", 60);
        manager_->StartWebcam(1);
        ASSERT_TRUE(WaitFor([&] { return frames_.size() >= 3; }));
        manager_->StopWebcam(1);
        const auto visits = peer.Visits();
        EXPECT_GE(visits.size(), frames_.size());
        for (const std::string& frame : frames_) EXPECT_EQ(frame, p[0]);
        if (viaProxy) {
            EXPECT_EQ(visits[0].request.rfind("GET http://127.0.0.1:4020/cam HTTP/1.0\r\n", 0), 0u);
        }
        EXPECT_EQ(Errors(), "");
        EXPECT_EQ(statuses_, (std::vector<int>{engine::kStatusPicture, engine::kStatusStopped}));
    }
}

// A stop ends the thread silently wherever it comes: during a transfer, during the wait before
// reconnecting (Refresh 60), while a picture waits for the main thread, and from inside the
// picture event on the main thread.
TEST_F(StreamThreadTest, StopEndsTheThreadSilentlyWhereverItComes) {
    enum class When { Transfer, ReconnectWait, PicturePending, InPictureEvent };
    const std::string picture = Pictures(1)[0];
    const std::string oneThenQuiet = MultipartHead() + MultipartBody({picture});
    struct Case {
        const char* what;
        When when;
        MjpegPeer::End end;
        std::size_t frames;  // handed to the step before the stop took effect
    };
    const Case cases[] = {
        {"during a transfer", When::Transfer, MjpegPeer::End::Stall, 1},
        {"during the reconnect wait", When::ReconnectWait, MjpegPeer::End::Close, 1},
        {"while a picture waits for the main thread", When::PicturePending, MjpegPeer::End::Stall, 0},
        {"from inside the picture event", When::InPictureEvent, MjpegPeer::End::Stall, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        SetUp();
        settings_->inactivityLimit = 60s;  // the stall lasts until the stop
        MjpegPeer peer({Reply(oneThenQuiet, c.end)});
        engine::twebcam& webcam = Add(peer.Url("/cam"), 60);
        if (c.when == When::InPictureEvent) onPicture_ = [&] { manager_->StopWebcam(1); };
        manager_->StartWebcam(1);
        switch (c.when) {
        case When::Transfer:
            ASSERT_TRUE(WaitFor([&] { return frames_.size() == 1; }));
            break;
        case When::ReconnectWait:
            ASSERT_TRUE(WaitFor([&] { return frames_.size() == 1 && peer.WaitEnded(1, 0ms); }));
            break;
        case When::PicturePending: {
            // Without draining: the stream thread's call for the picture is then queued.
            pollfd pending{platform::Dispatcher::Main().EventFd(), POLLIN, 0};
            ASSERT_EQ(poll(&pending, 1, 20000), 1);
            break;
        }
        case When::InPictureEvent:
            ASSERT_TRUE(WaitFor([&] { return !webcam.FRunning; }));
            break;
        }
        const auto stopStart = Clock::now();
        manager_->StopWebcam(1);
        EXPECT_LT(Clock::now() - stopStart, 10s);
        EXPECT_FALSE(webcam.FRunning);
        EXPECT_EQ(webcam.FStreamThread, nullptr);
        EXPECT_TRUE(WaitFor([&] { return peer.WaitEnded(1, 0ms); }));  // the thread closed its connection
        EXPECT_EQ(frames_.size(), c.frames);
        EXPECT_EQ(peer.Visits().size(), 1u);
        EXPECT_EQ(statuses_, (std::vector<int>{engine::kStatusPicture, engine::kStatusStopped}));
        EXPECT_EQ(Errors(), "");
    }
}

// A local file is read again every Refresh seconds, with status 4 at each read; a missing file
// is silent.
TEST_F(StreamThreadTest, LocalFileIsReadEveryRefresh) {
    const std::vector<std::string> p = Pictures(2);
    const fs::path file = temp_.path() / "cam.jpg";
    testsupport::WriteFile(file, p[0]);
    Add("file://" + file.string(), 1);
    manager_->StartWebcam(1);
    ASSERT_TRUE(WaitFor([&] { return frames_.size() == 1; }));
    testsupport::WriteFile(file, p[1]);
    ASSERT_TRUE(WaitFor([&] { return std::find(frames_.begin(), frames_.end(), p[1]) != frames_.end(); }));
    fs::remove(file);
    const std::size_t reads = static_cast<std::size_t>(std::count(statuses_.begin(), statuses_.end(), 4));
    ASSERT_TRUE(WaitFor([&] { return std::count(statuses_.begin(), statuses_.end(), 4) >= static_cast<long>(reads + 1); }));
    manager_->StopWebcam(1);
    EXPECT_EQ(frames_.front(), p[0]);
    EXPECT_EQ(frames_.back(), p[1]);
    EXPECT_EQ(Errors(), "");
    EXPECT_EQ(statuses_.back(), engine::kStatusStopped);
}

// ffmpeg as an independent MJPEG source: its multipart muxer's output, cut by the part lengths
// it writes, gives the pictures the thread must deliver.
TEST_F(StreamThreadTest, FfmpegMultipartStreamDeliversItsPictures) {
    ORVELLO_NEED_PEER("ffmpeg");
    const auto made = testsupport::RunProgram({"ffmpeg", "-hide_banner", "-loglevel", "error", "-f", "lavfi", "-i",
                                               "testsrc=size=320x240:rate=10", "-frames:v", "5", "-c:v", "mjpeg",
                                               "-f", "mpjpeg", "-"});
    ASSERT_EQ(made.exit_code, 0) << made.err;
    std::vector<std::string> pictures;
    const std::regex part("Content-length: ([0-9]+)\r\n\r\n", std::regex::icase);
    for (auto it = std::sregex_iterator(made.out.begin(), made.out.end(), part); it != std::sregex_iterator(); ++it)
        pictures.push_back(made.out.substr(static_cast<std::size_t>(it->position() + it->length()),
                                           std::stoul((*it)[1].str())));
    ASSERT_EQ(pictures.size(), 5u);
    MjpegPeer peer({Reply(MultipartHead("multipart/x-mixed-replace", "ffmpeg") + made.out, MjpegPeer::End::Close, 1460)});
    Add(peer.Url("/cam"), 60);
    manager_->StartWebcam(1);
    ASSERT_TRUE(WaitFor([&] { return peer.WaitEnded(1, 0ms) && frames_.size() >= 5; }));
    manager_->StopWebcam(1);
    EXPECT_EQ(frames_, pictures);
    ASSERT_EQ(Saved().size(), 5u);
    for (const auto& [name, bytes] : Saved()) EXPECT_EQ(engine::JpegPicture(bytes).Width(), 320) << name;
}

}  // namespace
