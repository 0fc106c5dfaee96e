// The main window's life cycle with a fake engine: start-up from the stored records, the
// deferred load, and the shutdown's order, once, never during a start.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

#include <filesystem>
#include <stdexcept>

#include "engine/regconfig.h"
#include "engine/webcam_manager.h"
#include "tests/support/temp_dir.h"
#include "tests/support/webcam_defs.h"
#include "tests/ui/mainform_fake_engine.h"
#include "tests/ui/mainform_fixture.h"
#include "ui/controls/draw_grid1.h"
#include "ui/main/main_menus.h"
#include "ui/main/tsupamain.h"

namespace {

using mainformtest::EngineJournal;
using Calls = std::vector<std::string>;

class MainFormTest : public mainformtest::MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        journal_.diskManFile = configDir() / "Quenmark" / "Orvello2" / "DISKMAN.bin";
    }

    ui::Tsupamain& Form(std::vector<std::string> parameters = {}) {
        form_ = std::make_unique<ui::Tsupamain>(
            ui::Tsupamain::Services{mainformtest::FakeEngineFactory(journal_), std::move(parameters)});
        return *form_;
    }
    ui::Tsupamain& Started(std::vector<std::string> parameters = {}) {
        ui::Tsupamain& form = Form(std::move(parameters));
        form.StartUp();
        return form;
    }
    // Runs what was posted (deferred closes, the quit after the shutdown).
    static void Settle() {
        for (int i = 0; i < 3; ++i) QApplication::processEvents();
    }
    std::uintmax_t RecordSize(const char* name) const {
        return std::filesystem::file_size(configDir() / "Quenmark" / "Orvello2" / (std::string(name) + ".bin"));
    }

    EngineJournal journal_;
};

TEST_F(MainFormTest, ShutdownStopsBeforeWritingAndFreesTheEngineLastOnce) {
    ui::Tsupamain& form = Started();
    EXPECT_FALSE(std::filesystem::exists(journal_.diskManFile));  // start-up writes all but DISKMAN
    journal_.running = 2;
    EXPECT_TRUE(form.close());
    form.close();
    EXPECT_FALSE(form.FormClose());  // nothing twice
    Settle();
    EXPECT_EQ(journal_.calls, Calls({"created", "StopAll", "freed (records written)"}));
    EXPECT_TRUE(form.StopRequested);
    EXPECT_EQ(form.Manager, nullptr);
    EXPECT_EQ(RecordSize("CONFIG"), 600u);
    EXPECT_EQ(RecordSize("EXTRA"), 264u);
    EXPECT_EQ(RecordSize("EXTRA1"), 1560u);
    EXPECT_EQ(RecordSize("EXTRA2"), 1340u);
    EXPECT_EQ(RecordSize("DISKMAN"), 328u);
}

TEST_F(MainFormTest, WithoutRunningWebcamsNothingIsStopped) {
    ui::Tsupamain& form = Started();
    EXPECT_TRUE(form.close());
    EXPECT_EQ(journal_.calls, Calls({"created", "freed (records written)"}));
}

TEST_F(MainFormTest, CloseDuringTheDeferredLoadWaitsForItsEnd) {
    ui::Tsupamain& form = Started();
    bool closedDuringLoad = true;
    journal_.duringLoad = [&] { closedDuringLoad = form.close(); };
    form.Timer3Timer();
    EXPECT_FALSE(closedDuringLoad);
    EXPECT_EQ(journal_.calls, Calls({"created", "LoadWebcams"}));  // no shutdown inside the load
    Settle();  // the deferred close
    EXPECT_TRUE(form.ShutdownDone());
    EXPECT_EQ(journal_.calls, Calls({"created", "LoadWebcams", "freed (records written)"}));
}

TEST_F(MainFormTest, CloseWhileTheShutdownPumpsIsRefused) {
    ui::Tsupamain& form = Started();
    journal_.running = 1;
    bool nestedClose = true;
    journal_.duringStop = [&] {
        form.close();
        nestedClose = form.FormClose();
    };
    EXPECT_TRUE(form.close());
    Settle();
    EXPECT_FALSE(nestedClose);
    EXPECT_EQ(journal_.calls, Calls({"created", "StopAll", "freed (records written)"}));
}

TEST_F(MainFormTest, DeferredStartLoadsAndAutoCapStartsEveryWebcam) {
    WriteThreeWebcams();
    ui::Tsupamain& form = FormWithIdleManager({"-autocap"});
    form.StartUp();
    form.Timer3Timer();
    ASSERT_NE(form.WebcamManager(), nullptr);
    EXPECT_EQ(form.WebcamManager()->Count(), 3);
    EXPECT_EQ(form.WebcamManager()->RunningCount(), 3);
    EXPECT_EQ(form.CurrentWebcam(), 1);
    EXPECT_TRUE(form.findChild<QTimer*>("Timer4")->isActive());
    EXPECT_FALSE(form.isMinimized());
}

TEST_F(MainFormTest, AutoCapMinWithoutATrayMinimises) {
    engine::tregconfig store;
    engine::TDiskManRec diskMan = engine::DefaultDiskMan();
    diskMan.TrayIcon = 1;  // asked for, but the offscreen desktop has no tray
    store.WriteDiskMan(diskMan);
    ui::Tsupamain& form = Started({"-AUTOCAPMIN"});
    form.show();
    form.Timer3Timer();
    EXPECT_TRUE(form.isMinimized());
    EXPECT_FALSE(form.isHidden());  // never hidden where nothing could bring it back
}

TEST_F(MainFormTest, StartUpTakesTheStoredRecords) {
    engine::tregconfig store;
    engine::TConfigRec config = engine::DefaultConfig();
    config.MaxThreads = 0x108;  // only the low byte counts
    config.WindowWidth = 0;
    config.WindowHeight = 100000;
    store.WriteConfig(config);
    engine::TExtraRec extra{};
    store.ReadExtra(extra);
    extra.WindowState = 0;
    store.WriteExtra(extra);
    testsupport::StoreThumbnailSize(0, 10);
    testsupport::WriteFile(programDir() / "ovl.ini", "afftitle=Moi\r\naffbrowser=Agent\r\n");

    ui::Tsupamain& form = Started();
    EXPECT_EQ(journal_.settings.threadCount, 8);
    EXPECT_EQ(journal_.settings.dataFolder, DataFolder());
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Orvello -Moi"));
    EXPECT_EQ(form.Ini.AffBrowser, "Agent");
    auto& grid = *form.findChild<ui::TDrawGrid1*>("DrawGrid11");
    EXPECT_EQ(grid.DefaultColWidth(), 98);
    EXPECT_EQ(grid.DefaultRowHeight(), 106);
    const QSize screen = QGuiApplication::primaryScreen()->availableSize();
    EXPECT_EQ(form.size(), screen);
    EXPECT_TRUE(prompts_.shown.isEmpty());
}

// A session that ended hidden or minimised starts so: restored, the window has its stored size.
TEST_F(MainFormTest, AWindowStartedMinimisedIsRestoredToItsStoredSize) {
    engine::tregconfig store;
    engine::TConfigRec config = engine::DefaultConfig();
    config.WindowWidth = 644;
    config.WindowHeight = 480;
    store.WriteConfig(config);
    engine::TExtraRec extra{};
    store.ReadExtra(extra);
    extra.WindowState = 1;
    store.WriteExtra(extra);
    ui::Tsupamain& form = Started();
    EXPECT_TRUE(form.windowState() & Qt::WindowMinimized);
    form.showNormal();
    EXPECT_EQ(form.size(), QSize(644, 480));
}

TEST_F(MainFormTest, MissingDataFolderFallsBackToTheProgramFolder) {
    std::filesystem::remove_all(dataDir());
    ui::Tsupamain& form = Started();
    EXPECT_EQ(form.DataFolder(), programDir().string() + "/");
    EXPECT_EQ(form.findChild<QLabel*>("Label27")->text(),
              QStringLiteral("  ") + QString::fromStdString(programDir().string() + "/"));
}

TEST_F(MainFormTest, FailedRegistryStepShowsItsTextAndEndsTheStart) {
    // The settings store's folder cannot be created below a plain file.
    std::filesystem::remove_all(configDir() / "Quenmark");
    testsupport::WriteFile(configDir() / "Quenmark", "not a folder");
    ui::Tsupamain& form = Form();
    EXPECT_ANY_THROW(form.StartUp());
    ASSERT_FALSE(prompts_.shown.isEmpty());
    EXPECT_EQ(prompts_.shown.front(),
              QStringLiteral("Error reading the system registry -- please write down the next message and contact Quenmark"));
    EXPECT_EQ(form.Manager, nullptr);
}

TEST_F(MainFormTest, DebugStartTracesTheSteps) {
    Started({"-DEBUGSTART"});
    ASSERT_GE(prompts_.shown.size(), 3);
    EXPECT_EQ(prompts_.shown.front(), QStringLiteral("Starting init"));
    EXPECT_TRUE(prompts_.shown.contains(QStringLiteral("registry read OK")));
    EXPECT_EQ(prompts_.shown.back(), QStringLiteral("Init Complete"));
}

}  // namespace
