// The list download dialog against local nginx: the index table, the saved lists' names and
// "downloaded.txt", a failed list and a failed index, and the newer-version question.
#include "ui/web/wclistdownload.h"

#include "platform/qt/gui_loop.h"
#include "platform/qt/scripted_prompts.h"
#include "tests/support/loopback_peer.h"
#include "tests/support/mjpeg_peer.h"
#include "tests/support/nginx_peer.h"
#include "tests/support/peers.h"
#include "tests/support/temp_dir.h"
#include "tests/ui/dialog_test_support.h"
#include "ui/dialogs/dialog_controls.h"
#include "ui/web/waitdownload.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include <chrono>
#include <filesystem>

namespace {

using dialogtest::Child;
namespace fs = std::filesystem;

class ListDownloadTest : public testsupport::IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        fs::create_directories(programDir());
        services_.checkNewVersion = [this](const std::function<bool()>&) {
            ++checks_;
            return ui::ReadVersionReply(versionReply_);
        };
        services_.openHomePage = [this] { ++homePages_; };
        services_.createFromList = [this] { ++creates_; };
        services_.listSaved = [this](const std::string& path) { saved_.push_back(path); };
        services_.programFolder = programDir().string() + "/";
    }
    // Runs the dialog on the index at url; action runs once the index is in. It is run from a
    // timer of the dialog's own loop, never from inside a request's wait.
    void Run(const std::string& url, const std::function<void(ui::Twclistdownload&)>& action) {
        ui::Twclistdownload& dialog = ui::wclistdownload();
        QTimer poll;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            const bool ready = dialog.isVisible() && Child<QLabel>(dialog, "Label1").text() != ui::Message(65169);
            if (!ready && std::chrono::steady_clock::now() < deadline) return;
            poll.stop();
            if (ready) action(dialog);
            else ADD_FAILURE() << "the index never came";
            static_cast<QDialog&>(dialog).done(QDialog::Rejected);
        });
        poll.start(10);
        dialog.Execute(url, services_);  // always true: the tests check what it did
    }
    static void DoubleClick(ui::Twclistdownload& dialog, int row) {
        auto& list = Child<QListWidget>(dialog, "ListBox1");
        list.setCurrentRow(row);
        emit list.itemDoubleClicked(list.item(row));
    }
    std::string Downloaded() const { return testsupport::ReadFile(programDir() / "downloaded.txt"); }

    platform::GuiEventBridge bridge_;
    platform::ScriptedPrompts prompts_;
    ui::ListDownloadServices services_;
    std::string versionReply_;
    int checks_ = 0, homePages_ = 0, creates_ = 0;
    std::vector<std::string> saved_;
};

TEST_F(ListDownloadTest, DownloadsAListNamedAfterItsEntryAndRecordsItOnce) {
    ORVELLO_NEED_PEER("nginx");
    testsupport::NginxPeer nginx(temp_.path() / "nginx");
    ASSERT_TRUE(nginx.Running());
    const std::string list = "ENCODE\r\nSTART\r\nPREF=http://cams/a.jpg\r\nENDWC\r\n";
    testsupport::WriteFile(nginx.root() / "lists" / "eu.txt", list);
    testsupport::WriteFile(nginx.root() / "lists" / "x.jcc", "foreign");
    testsupport::WriteFile(nginx.root() / "wclist24url.txt",
                           "Europe - 150 webcams," + nginx.Url("/lists/eu.txt") + "\r\n" + nginx.Url("/lists/none.txt") +
                               "\r\n../../x," + nginx.Url("/lists/x.jcc") + "\r\n");
    const std::string folder = programDir().string() + "/";
    Run(nginx.Url("/wclist24url.txt"), [&](ui::Twclistdownload& dialog) {
        EXPECT_EQ(Child<QLabel>(dialog, "Label1").text(), ui::Message(65174) + "3");
        EXPECT_EQ(dialogtest::ListLines(Child<QListWidget>(dialog, "ListBox1")),
                  (QStringList{"Europe - 150 webcams", "", "../../x"}));
        EXPECT_EQ(dialog.URLs()[1], nginx.Url("/lists/none.txt"));  // the line without a comma
        EXPECT_FALSE(Child<QPushButton>(dialog, "createbtn").isEnabled());
        dialogtest::SaveScreenshot(dialog, "wclistdownload");

        DoubleClick(dialog, 0);
        DoubleClick(dialog, 0);  // saved twice: one line
        EXPECT_EQ(testsupport::ReadFile(programDir() / "europe.txt"), list);
        DoubleClick(dialog, 2);  // a hostile name stays in the program folder
        EXPECT_EQ(testsupport::ReadFile(programDir() / "x.txt"), "foreign");
        DoubleClick(dialog, 1);  // not found: nothing saved
        EXPECT_EQ(dialog.CurrentList(), QString::fromStdString(folder + "x.txt"));
        EXPECT_TRUE(Child<QPushButton>(dialog, "createbtn").isEnabled());
        dialogtest::Click(dialog, "createbtn");
        dialogtest::SaveScreenshot(ui::waitdownload(), "waitdownload");
    });
    EXPECT_EQ(Downloaded(), "../../x - " + folder + "x.txt\nEurope - 150 webcams - " + folder + "europe.txt\n");
    EXPECT_EQ(saved_, (std::vector<std::string>{folder + "europe.txt", folder + "europe.txt", folder + "x.txt"}));
    const QString savedIn = ui::Message(65176);
    EXPECT_EQ(prompts_.shown, (QStringList{savedIn + QString::fromStdString(folder + "europe.txt"),
                                           savedIn + QString::fromStdString(folder + "europe.txt"),
                                           savedIn + QString::fromStdString(folder + "x.txt"), ui::Message(65175)}));
    EXPECT_EQ(checks_, 1);
    EXPECT_EQ(creates_, 1);
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(programDir())) ++files;
    EXPECT_EQ(files, 3u);  // europe.txt, x.txt, downloaded.txt
}

TEST_F(ListDownloadTest, FailedIndexSaysSoAndLetsTheUserLeave) {
    ORVELLO_NEED_PEER("nginx");
    testsupport::NginxPeer nginx(temp_.path() / "nginx");
    ASSERT_TRUE(nginx.Running());
    versionReply_ = "20040101 version 3.1";
    prompts_.answers = {true};
    Run(nginx.Url("/wclist24url.txt"), [&](ui::Twclistdownload& dialog) {
        EXPECT_EQ(Child<QLabel>(dialog, "Label1").text(), ui::Message(65172));
        EXPECT_EQ(Child<QListWidget>(dialog, "ListBox1").count(), 0);
    });
    EXPECT_EQ(prompts_.shown,
              (QStringList{ui::Message(65170) + "\n20040101 version 3.1", ui::Message(65173)}));
    EXPECT_EQ(homePages_, 1);
    EXPECT_FALSE(fs::exists(programDir() / "downloaded.txt"));
}

TEST_F(ListDownloadTest, ClosingTheDialogDuringARequestEndsTheRequest) {
    testsupport::MjpegPeer::Reply stalled;
    stalled.body = "HTTP/1.0 200 OK\r\n\r\nEurope,http://";
    stalled.end = testsupport::MjpegPeer::End::Stall;
    testsupport::MjpegPeer peer({stalled});
    ui::Twclistdownload& dialog = ui::wclistdownload();
    QTimer close;
    close.setSingleShot(true);
    QObject::connect(&close, &QTimer::timeout, [&] {
        if (peer.Visits().empty()) close.start(10);  // not asked yet
        else static_cast<QDialog&>(dialog).done(QDialog::Rejected);
    });
    close.start(10);
    services_.limits.inactivity = std::chrono::seconds(60);
    dialog.Execute(peer.Url("/wclist24url.txt"), services_);  // always true: what it did is checked below
    EXPECT_FALSE(dialog.isVisible());
    ASSERT_TRUE(peer.WaitEnded(1));  // the client closed its connection...
    const testsupport::MjpegPeer::Visit visit = peer.Visits()[0];
    EXPECT_LT(visit.ended - visit.accepted, std::chrono::seconds(50));  // ...for the close, not the limit
    EXPECT_EQ(prompts_.shown, QStringList{});  // no failure reported for a close
    EXPECT_EQ(Child<QListWidget>(dialog, "ListBox1").count(), 0);
}

TEST_F(ListDownloadTest, NewerVersionQuestionShowsAFewPrintableLinesOfTheVersionFile) {
    versionReply_ = "99999999\x01\x02\x1f" + std::string(2000, '\n') + "\x7f";
    prompts_.answers = {false};
    const std::string closed = "http://127.0.0.1:" + std::to_string(testsupport::ClosedLoopbackPort()) + "/x.txt";
    Run(closed, [](ui::Twclistdownload&) {});
    EXPECT_EQ(prompts_.shown, (QStringList{ui::Message(65170) + "\n99999999", ui::Message(65173)}));
    EXPECT_EQ(homePages_, 0);
}

TEST_F(ListDownloadTest, ClosingTheDialogWhileTheVersionCheckHangsEndsTheCheck) {
    testsupport::MjpegPeer::Reply silent;  // reads the request and never answers
    silent.end = testsupport::MjpegPeer::End::Stall;
    testsupport::MjpegPeer peer({silent});
    services_.checkNewVersion = [&](const std::function<bool()>& cancelled) {
        return ui::CheckNewVersion(peer.Url("/ovlver.txt?"), {}, cancelled);
    };
    ui::Twclistdownload& dialog = ui::wclistdownload();
    std::chrono::steady_clock::time_point closedAt;
    dialogtest::WhenTrue([&] { return !peer.Visits().empty(); }, [&] {
        closedAt = std::chrono::steady_clock::now();
        static_cast<QDialog&>(dialog).done(QDialog::Rejected);
    });
    dialog.Execute(peer.Url("/wclist24url.txt"), services_);  // always true: what it did is checked below
    // The version request's own quiet limit is 30 s; the close ends it at once.
    EXPECT_LT(std::chrono::steady_clock::now() - closedAt, std::chrono::seconds(5));
    EXPECT_FALSE(dialog.isVisible());
    ASSERT_TRUE(peer.WaitEnded(1));
    EXPECT_EQ(peer.Visits().size(), 1u);  // the index was never asked for
    EXPECT_EQ(prompts_.shown, QStringList{});
}

TEST_F(ListDownloadTest, LongIndexFillsTheBoxWithTheWindowAnsweringBetweenSteps) {
    constexpr int kLists = 30000;
    std::string index;
    for (int i = 0; i < kLists; ++i) index += "L" + std::to_string(i) + ",http://l.example/" + std::to_string(i) + "\n";
    testsupport::MjpegPeer::Reply reply;
    reply.body = "HTTP/1.0 200 OK\r\n\r\n" + index;
    testsupport::MjpegPeer peer({reply});
    // What a timer of the window saw of the box while the index was read and shown.
    bool sawPart = false;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, [&] {
        const int count = Child<QListWidget>(ui::wclistdownload(), "ListBox1").count();
        if (count > 0 && count < kLists) sawPart = true;
    });
    look.start(0);
    Run(peer.Url("/wclist24url.txt"), [&](ui::Twclistdownload& dialog) {
        auto& list = Child<QListWidget>(dialog, "ListBox1");
        ASSERT_EQ(list.count(), kLists);
        EXPECT_EQ(list.item(kLists - 1)->text(), QString("L%1").arg(kLists - 1));
        EXPECT_EQ(dialog.URLs()[kLists - 1], "http://l.example/" + std::to_string(kLists - 1));
    });
    EXPECT_TRUE(sawPart);
}

}  // namespace
