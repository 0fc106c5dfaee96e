// The screen saver's window on the offscreen platform: start-up checks and messages, saved and
// live pictures with their captions, the fall-back after a failed fetch, and the end.
#include "saver/tssform.h"

#include "platform/dispatch.h"
#include "platform/lock_file.h"
#include "platform/qt/scripted_prompts.h"
#include "tests/saver/saver_fixture.h"
#include "tests/support/loopback_peer.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

namespace {

using namespace std::chrono_literals;
using savertest::WebcamSpec;
using testsupport::LoopbackPeer;

// Runs the event loop and the other threads' calls until condition holds or ten seconds pass.
bool PumpUntil(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        platform::Dispatcher::Main().ProcessMessages();
        std::this_thread::sleep_for(2ms);
    }
    return true;
}

std::string Url(const LoopbackPeer& peer) { return "http://127.0.0.1:" + std::to_string(peer.port()) + "/cam.jpg"; }

class SaverWindow : public savertest::SaverTest {
protected:
    platform::ScriptedPrompts prompts_;
};

TEST_F(SaverWindow, WithoutWebcamsDefinedItCannotRun) {
    saver::Tssform form;
    EXPECT_FALSE(form.FormCreate());
    EXPECT_TRUE(form.Closing());
    ASSERT_EQ(prompts_.shown.size(), 1);
    EXPECT_EQ(prompts_.shown[0].toStdString(),
              "Orvello Screen Saver cannot run. There are no webcams currently defined. Run Orvello to define some.");
}

TEST_F(SaverWindow, EmptyListMessages) {
    WriteWebcams({{"http://a.test/1.jpg", "One", 0, false}});
    const struct {
        int listOnly, savedOnly;
        const char* message;
    } cases[] = {
        {1, 0, "There are no webcams defined. Run Orvello to configure"},
        {0, 1, "There are no saved images to display. Run Orvello to capture some pictures"},
    };
    for (const auto& c : cases) {
        StoreSaverSettings([&](engine::TExtra1Rec& r) {
            r.SaverListOnly = static_cast<std::uint8_t>(c.listOnly);
            r.SaverSavedOnly = static_cast<std::uint8_t>(c.savedOnly);
        });
        prompts_.shown.clear();
        saver::Tssform form;
        EXPECT_FALSE(form.FormCreate());
        ASSERT_EQ(prompts_.shown.size(), 1);
        EXPECT_EQ(prompts_.shown[0].toStdString(), c.message);
    }
}

TEST_F(SaverWindow, DoesNotRunBesideOvlUnlessAllowed) {
    WriteWebcams({{"http://a.test/1.jpg", "One", 1}});
    platform::LockFile ovl("OVL");
    ASSERT_EQ(ovl.Acquire(), platform::LockFile::Result::Created);
    {
        saver::Tssform form;
        EXPECT_FALSE(form.FormCreate());
        EXPECT_TRUE(prompts_.shown.isEmpty());  // silently
    }
    StoreSaverSettings([](engine::TExtra1Rec& r) { r.SaverWithMain = 1; });
    saver::Tssform form;
    EXPECT_TRUE(form.FormCreate());
    // Without ovl, a saver that may not run beside it holds "OVL" while it runs.
    ovl.Release();
    StoreSaverSettings([](engine::TExtra1Rec& r) { r.SaverWithMain = 0; });
    saver::Tssform holder;
    ASSERT_TRUE(holder.FormCreate());
    EXPECT_EQ(platform::LockFile("OVL").Acquire(), platform::LockFile::Result::AlreadyExists);
}

TEST_F(SaverWindow, SavedOnlyShowsASavedPictureWithItsCaption) {
    WriteWebcams({{"http://a.test/1.jpg", "One", 0}, {"http://a.test/2.jpg", "Two", 2, false, "Harbour"}});
    StoreSaverSettings([](engine::TExtra1Rec& r) {
        r.SaverSavedOnly = 1;
        r.SaverInterval = 0;
        r.SaverDisplay = 1;
    });
    saver::Tssform form;
    ASSERT_TRUE(form.FormCreate());
    form.Start();
    ASSERT_EQ(form.webcams().size(), 1u);  // only the webcam with saved pictures
    EXPECT_EQ(form.index(), 0);
    EXPECT_EQ(form.caption().toStdString(), "Harbour  (Saved view)");
    EXPECT_TRUE(form.timer().isActive());
    EXPECT_EQ(form.timer().interval(), 10000);
    ASSERT_TRUE(PumpUntil([&] { return form.drawRect().width() == 64; }));  // normal size, centred
    EXPECT_EQ(form.drawRect().height(), 48);
}

TEST_F(SaverWindow, LivePictureIsShownAsTheCurrentView) {
    LoopbackPeer peer({LoopbackPeer::ReceiveUntil("\r\n\r\n"),
                       LoopbackPeer::Send("HTTP/1.0 200 OK\r\n\r\n" + savertest::JpegOf(80, 60, Qt::blue)),
                       LoopbackPeer::Close()});
    WriteWebcams({{Url(peer), "One", 0}});
    saver::Tssform form;
    ASSERT_TRUE(form.FormCreate());
    form.Start();
    EXPECT_FALSE(form.timer().isActive());  // off while the fetch runs
    ASSERT_TRUE(PumpUntil([&] { return form.timer().isActive(); }));
    EXPECT_EQ(form.caption().toStdString(), Url(peer) + "  (Current view)");
    EXPECT_EQ(form.timer().interval(), 30000);
}

// A server answering 500, or a body that is no picture, for a webcam without saved pictures:
// another webcam's saved picture is shown, and the next live pick goes on from the failed one.
TEST_F(SaverWindow, FailedFetchFallsBackToASavedPicture) {
    const std::string answers[] = {"HTTP/1.0 500 Internal Server Error\r\n\r\nbroken",
                                   "HTTP/1.0 200 OK\r\n\r\nnot a picture"};
    for (const std::string& answer : answers) {
        SCOPED_TRACE(answer);
        LoopbackPeer peer({LoopbackPeer::ReceiveUntil("\r\n\r\n"), LoopbackPeer::Send(answer), LoopbackPeer::Close()});
        WriteWebcams({{Url(peer), "One", 0}, {Url(peer), "Two", 0}, {"http://127.0.0.1:1/x.jpg", "Three", 1, false, "Beach"}});
        StoreSaverSettings([](engine::TExtra1Rec& r) { r.SaverInOrder = 1; });
        saver::Tssform form;
        ASSERT_TRUE(form.FormCreate());
        form.Start();
        ASSERT_TRUE(PumpUntil([&] { return form.timer().isActive(); }));
        EXPECT_EQ(form.caption().toStdString(), "Beach  (Saved view)");
        EXPECT_EQ(form.index(), 0);
        form.NextPicture();
        EXPECT_EQ(form.index(), 1);
    }
}

TEST_F(SaverWindow, NoSavedPictureAnywhereSaysSo) {
    LoopbackPeer peer({LoopbackPeer::ReceiveUntil("\r\n\r\n"), LoopbackPeer::Send("HTTP/1.0 404 Not Found\r\n\r\n"),
                       LoopbackPeer::Close()});
    WriteWebcams({{Url(peer), "One", 0}});
    saver::Tssform form;
    ASSERT_TRUE(form.FormCreate());
    form.Start();
    ASSERT_TRUE(PumpUntil([&] { return form.timer().isActive(); }));
    EXPECT_EQ(form.caption().toStdString(), "Orvello Screen Saver -- No saved images available");
}

TEST_F(SaverWindow, KeyOrClickEndsTheSaver) {
    WriteWebcams({{"http://a.test/1.jpg", "One", 1}});
    StoreSaverSettings([](engine::TExtra1Rec& r) { r.SaverSavedOnly = 1; });
    for (const QEvent::Type type : {QEvent::KeyPress, QEvent::MouseButtonPress}) {
        saver::Tssform form;
        ASSERT_TRUE(form.FormCreate());
        form.Start();
        bool ended = false;
        QObject::connect(&form, &saver::Tssform::ended, [&] { ended = true; });
        if (type == QEvent::KeyPress) {
            QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
            QApplication::sendEvent(&form, &key);
        } else {
            const QPointF at(200, 200);
            QMouseEvent click(QEvent::MouseButtonPress, at, form.mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                              Qt::NoModifier);
            QApplication::sendEvent(&form, &click);
        }
        EXPECT_TRUE(ended);
        EXPECT_TRUE(form.Closing());
        EXPECT_FALSE(form.timer().isActive());
    }
}

// Closing while a live fetch hangs: the transfer is cancelled and its thread joined.
TEST_F(SaverWindow, ClosingDuringAFetchCancelsIt) {
    LoopbackPeer peer({LoopbackPeer::ReceiveUntil("\r\n\r\n"), LoopbackPeer::Gate()});
    WriteWebcams({{Url(peer), "One", 0}});
    auto form = std::make_unique<saver::Tssform>();
    ASSERT_TRUE(form->FormCreate());
    form->Start();
    ASSERT_TRUE(PumpUntil([&] { return peer.Received().find("\r\n\r\n") != std::string::npos; }));
    const auto start = std::chrono::steady_clock::now();
    form.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);  // far below the 30 s time-out
    peer.OpenGate();
}

}  // namespace
