// The picture commands on a temporary folder: the walk through a webcam's pictures and its
// latest unsaved one, copying and moving with companions (onto itself never), deleting, and the
// AVI export read back by ffprobe, with its size limit and a picture that does not decode.
#include "ui/disk/picture_commands.h"

#include <gtest/gtest.h>

#include <QApplication>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "media/avi_types.h"
#include "media/qt/led_gauge.h"
#include "platform/qt/scripted_prompts.h"
#include "tests/engine/jpeg_test_pictures.h"
#include "tests/support/not_a_picture.h"
#include "tests/support/peers.h"
#include "tests/support/riff_reader.h"
#include "tests/support/run_program.h"
#include "tests/support/watchdog.h"
#include "tests/ui/dialog_test_support.h"
#include "tests/ui/filters_fixture.h"
#include "ui/controls/draw_grid1.h"
#include "ui/disk/disk_thumb_manager.h"
#include "ui/viewer/viewer.h"

namespace {

namespace fs = std::filesystem;

class PictureCommandsTest : public filterstest::ManagerTest, public ui::PictureCommandsHost {
protected:
    void SetUp() override {
        ManagerTest::SetUp();
        ui::ViewerServices services;
        services.makePicture = filterstest::MakePicture;
        services.decode = filterstest::DecodePicture;
        services.enhance = [](engine::Bitmap&, int, int) {};
        services.compareFiles = [](const std::string&, const std::string&) { return 0; };
        viewer = std::make_unique<ui::TViewer>(viewerHost, std::move(services));
        grid.resize(400, 400);
        disk = std::make_unique<ui::tdiskthumbmanager>(grid, ui::kListJpegFiles);
        disk->ProcessMessages = [] {};
        disk->SetActive(true);
        commands = std::make_unique<ui::PictureCommands>(*this, ui::PictureCommandsState{stopRequested, shiftState},
                                                         *disk, *viewer);
        disk->OnSelectionChanged = [this] { commands->PictureNavigationButtons(); };
        folder = dataDir() / "Cam1";
        fs::create_directories(folder);
    }
    void TearDown() override {
        commands.reset();
        disk.reset();
        viewer.reset();
        ManagerTest::TearDown();
    }

    // PictureCommandsHost.
    engine::twebcammanager* PictureManager() override { return manager_.get(); }
    int CurrentWebcam() const override { return 1; }
    void UpdateMotionGauge(std::uint8_t kind, int) override { gaugeKinds.push_back(kind); }
    void SetWalkButtons(bool firstPrevious, bool nextLast) override {
        walkFirst = firstPrevious;
        walkNext = nextLast;
    }
    void SetStatusText(const QString& text) override { statuses << text; }
    void ProcessMessages() override {
        if (onProcess) onProcess();
    }
    media::MovieMakerSetup MovieSetup() override {
        media::MovieMakerSetup setup;
        setup.ChooseFileName = [this](std::string& name) {
            name = movie;
            return true;
        };
        setup.ChooseCompression = [this](std::vector<media::AVICompressOptions>& options, unsigned) {
            const media::FourCC compressor = compressors.empty() ? 0 : compressors.front();
            if (!compressors.empty()) compressors.erase(compressors.begin());
            for (media::AVICompressOptions& o : options) o.fccHandler = compressor;
            return true;
        };
        setup.Texts = {"Enregistrement de l'image", "de", "Prêt"};
        setup.MaxFileSize = maxFileSize;
        return setup;
    }

    std::string Jpeg(int width, int height, std::uint32_t colour = 0x3060C0) {
        return testpictures::EncodeJpeg(testpictures::MakeBitmap(width, height, [=](int, int) { return colour; }), 85);
    }
    void Picture(const std::string& name, const std::string& bytes) { testsupport::WriteFile(folder / name, bytes); }
    void Open() {
        disk->SetFolder("");
        disk->SetFolder(folder.string());
        disk->SelectAll();
    }
    std::string Probe(const std::string& file) {
        const testsupport::ProgramResult r = testsupport::RunProgram(
            {"ffprobe", "-v", "error", "-count_frames", "-select_streams", "v:0", "-show_entries",
             "stream=codec_name,width,height,r_frame_rate,nb_read_frames", "-of", "default=noprint_wrappers=1", file});
        EXPECT_EQ(r.exit_code, 0) << r.err;
        return r.out;
    }

    filterstest::NullViewerHost viewerHost;
    std::unique_ptr<ui::TViewer> viewer;
    ui::TDrawGrid1 grid;
    std::unique_ptr<ui::tdiskthumbmanager> disk;
    std::unique_ptr<ui::PictureCommands> commands;
    platform::ScriptedPrompts prompts;
    bool stopRequested = false;
    int shiftState = 0;
    bool walkFirst = false, walkNext = false;
    std::vector<int> gaugeKinds;
    QStringList statuses;
    std::function<void()> onProcess;
    std::string movie;
    std::vector<media::FourCC> compressors;
    std::uint64_t maxFileSize = media::kAVIMaxFileSize;
    fs::path folder;
};

TEST_F(PictureCommandsTest, WalkReachesTheRunningWebcamsUnsavedPictureAndComesBack) {
    engine::twebcam& cam = Add("Cam1");
    for (const char* name : {"20260110100000.jpg", "20260110100100.jpg", "20260110100200.jpg"})
        Picture(name, filterstest::PictureBytes(32, 24));
    disk->SetFolder(folder.string());
    disk->SelectItem(3);
    cam.FPicture = filterstest::PictureBytes(32, 24, 255, 0, 0);  // arrived, not saved
    commands->PictureNavigationButtons();
    EXPECT_TRUE(walkFirst);
    EXPECT_TRUE(walkNext);

    commands->ToolButton11Click();  // next: the unsaved picture after the last file
    EXPECT_TRUE(commands->ShowingLatestUnsaved());
    EXPECT_EQ(viewer->ShownFileName(), QStringLiteral("Dernière Image (non enregistrée)"));
    EXPECT_TRUE(viewer->PreviousFileName().empty());
    EXPECT_FALSE(walkNext);
    EXPECT_EQ(gaugeKinds, std::vector<int>{1});

    commands->ToolButton10Click();  // previous: back to the last file
    EXPECT_FALSE(commands->ShowingLatestUnsaved());
    EXPECT_EQ(disk->Current(), 3);
    EXPECT_TRUE(viewer->ShownFileName().endsWith(QStringLiteral("20260110100200.jpg")));
    commands->ToolButton10Click();
    EXPECT_TRUE(viewer->ShownFileName().endsWith(QStringLiteral("20260110100100.jpg")));
    commands->ToolButton16Click();  // first
    EXPECT_EQ(disk->Current(), 1);
    EXPECT_FALSE(walkFirst);
    commands->ToolButton10Click();  // disabled: nothing
    EXPECT_EQ(disk->Current(), 1);
    commands->ToolButton17Click();  // last: the webcam's latest picture, the unsaved one
    EXPECT_EQ(disk->Current(), 3);
    EXPECT_TRUE(commands->ShowingLatestUnsaved());

    // Without a picture in memory, next stops at the last file.
    cam.FPicture.reset();
    commands->ToolButton10Click();
    commands->PictureNavigationButtons();
    EXPECT_FALSE(walkNext);
}

TEST_F(PictureCommandsTest, CopyAndMoveWithCompanionsNeverOntoThemselves) {
    Picture("a.jpg", Jpeg(32, 24));
    Picture("a.QVJ", "companion of a");
    Picture("b.jpg", Jpeg(32, 24));
    const fs::path target = dataDir() / "target";
    fs::create_directories(target);
    testsupport::WriteFile(target / "b.jpg", "older b");  // replaced without a question
    Open();

    prompts.paths = {QString::fromStdString(target.string() + "/")};
    commands->CopySelectedPictures1Click();
    EXPECT_EQ(testsupport::ReadFile(target / "a.QVJ"), "companion of a");
    EXPECT_EQ(testsupport::ReadFile(target / "b.jpg"), testsupport::ReadFile(folder / "b.jpg"));
    EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("Copier les images sélectionnées")});  // the folder's

    // The pictures' own folder, by another path: each is reported, none is touched.
    const std::string a = testsupport::ReadFile(folder / "a.jpg");
    prompts.paths = {QString::fromStdString((folder / ".." / "Cam1").string())};
    prompts.shown.clear();
    commands->MoveSelectedPictures1Click();
    ASSERT_EQ(prompts.shown.size(), 3);  // the folder choice, then each picture
    EXPECT_TRUE(prompts.shown[1].startsWith(QStringLiteral("Erreur lors de la copie du fichier")));
    EXPECT_TRUE(prompts.shown[2].startsWith(QStringLiteral("Erreur lors de la copie du fichier")));
    EXPECT_EQ(testsupport::ReadFile(folder / "a.jpg"), a);
    EXPECT_EQ(testsupport::ReadFile(folder / "a.QVJ"), "companion of a");
    EXPECT_EQ(disk->Count(), 2);

    // A move: the sources go once copied; a failure is reported and the others go on.
    const fs::path moved = dataDir() / "moved";
    fs::create_directories(moved / "b.jpg");  // a folder where b's copy would go: b fails
    prompts.shown.clear();
    prompts.paths = {QString::fromStdString(moved.string())};
    commands->MoveSelectedPictures1Click();
    EXPECT_EQ(prompts.shown, (QStringList{QStringLiteral("Déplacer les images sélectionnées"),
                                           QStringLiteral("Erreur lors de la copie du fichier") +
                                               QString::fromStdString((moved / "b.jpg").string())}));
    EXPECT_EQ(testsupport::ReadFile(moved / "a.jpg"), a);
    EXPECT_EQ(testsupport::ReadFile(moved / "a.QVJ"), "companion of a");
    EXPECT_FALSE(fs::exists(folder / "a.jpg"));
    EXPECT_FALSE(fs::exists(folder / "a.QVJ"));
    EXPECT_TRUE(fs::exists(folder / "b.jpg"));
    EXPECT_EQ(disk->Count(), 1);  // listed again
    for (const auto& entry : fs::directory_iterator(moved))  // no temporary file left
        EXPECT_NE(entry.path().filename().string().rfind(".copy-", 0), 0u) << entry.path();
}

TEST_F(PictureCommandsTest, StopDuringACopyEndsAfterTheCurrentFile) {
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) Picture(name, Jpeg(16, 16));
    Open();
    const fs::path target = dataDir() / "target";
    fs::create_directories(target);
    prompts.paths = {QString::fromStdString(target.string())};
    int copies = 0;
    onProcess = [&] {
        if (++copies == 2) stopRequested = true;  // pressed while the first file was copied
    };
    commands->CopySelectedPictures1Click();
    EXPECT_TRUE(fs::exists(target / "a.jpg"));
    EXPECT_FALSE(fs::exists(target / "b.jpg"));
}

TEST_F(PictureCommandsTest, DeletesTheSelectedPicturesAndTheirCompanions) {
    Picture("a.jpg", Jpeg(16, 16));
    Picture("a.QVJ", "companion");
    Picture("b.jpg", Jpeg(16, 16));
    disk->SetFolder(folder.string());  // a.jpg selected
    commands->DeleteSelectedDiskPictures1Click();
    EXPECT_FALSE(fs::exists(folder / "a.jpg"));
    EXPECT_FALSE(fs::exists(folder / "a.QVJ"));
    EXPECT_EQ(disk->Count(), 1);
    disk->SetFolder("");
    commands->DeleteSelectedDiskPictures1Click();
    EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("Pas d'image sélectionnée")});
}

TEST_F(PictureCommandsTest, MakesAnAviOfTheSelectedPicturesScaledToTheFirst) {
    ORVELLO_NEED_PEER("ffprobe");
    movie = (dataDir() / "movie.avi").string();
    for (int i = 0; i < 3; ++i) Picture("p" + std::to_string(i) + ".jpg", Jpeg(64, 48, 0x1000 * i));
    Open();
    commands->SaveselectedpicturesasAVIfile1Click();
    EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("Veuillez sélectionner un minimum de 4 images pour faire une AVI")});
    EXPECT_FALSE(fs::exists(movie));

    Picture("p3.jpg", Jpeg(200, 100));  // another size: scaled to the first's
    Open();
    prompts.shown.clear();
    commands->SaveselectedpicturesasAVIfile1Click();
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.shown.join('\n').toStdString();
    EXPECT_EQ(Probe(movie), "codec_name=rawvideo\nwidth=64\nheight=48\nr_frame_rate=2/1\nnb_read_frames=4\n");
    EXPECT_EQ(statuses.back(), QStringLiteral("Prêt"));
}

TEST_F(PictureCommandsTest, AnUnreadablePictureEndsTheMovieWithAMessage) {
    ORVELLO_NEED_PEER("ffprobe");
    movie = (dataDir() / "movie.avi").string();
    for (int i = 0; i < 5; ++i) Picture("p" + std::to_string(i) + ".jpg", Jpeg(64, 48));
    Picture("p3.jpg", "not a picture");
    Open();
    commands->SaveselectedpicturesasAVIfile1Click();
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown.front().contains(QStringLiteral("p3.jpg"))) << prompts.shown.front().toStdString();
    EXPECT_EQ(Probe(movie), "codec_name=rawvideo\nwidth=64\nheight=48\nr_frame_rate=2/1\nnb_read_frames=3\n");
}

// A FIFO or a link to an endless device named like a picture is unreadable: as the first picture
// it refuses the movie, later it ends the movie there; neither is waited on nor read without end.
TEST_F(PictureCommandsTest, FilesThatAreNoPicturesAreUnreadableInTheMovie) {
    ORVELLO_NEED_PEER("ffprobe");
    const testsupport::Watchdog watchdog(std::chrono::seconds(60));
    movie = (dataDir() / "movie.avi").string();
    for (const testsupport::NotAPicture kind : testsupport::kNotPictures) {
        for (const char* hostile : {"p0.jpg", "p3.jpg"}) {
            SCOPED_TRACE(testsupport::Describe(kind) + " as " + hostile);
            fs::remove_all(folder);
            fs::create_directories(folder);
            fs::remove(movie);
            for (int i = 0; i < 5; ++i) Picture("p" + std::to_string(i) + ".jpg", Jpeg(64, 48));
            fs::remove(folder / hostile);
            testsupport::MakeNotAPicture(folder / hostile, kind);
            Open();
            prompts.shown.clear();
            commands->SaveselectedpicturesasAVIfile1Click();
            ASSERT_EQ(prompts.shown.size(), 1);
            if (hostile == std::string("p0.jpg")) {
                EXPECT_EQ(prompts.shown.front(), QStringLiteral("Unable to parse the JPEG data"));
                EXPECT_FALSE(fs::exists(movie));
            } else {
                EXPECT_TRUE(prompts.shown.front().contains(QStringLiteral("p3.jpg"))) << prompts.shown.front().toStdString();
                EXPECT_EQ(Probe(movie), "codec_name=rawvideo\nwidth=64\nheight=48\nr_frame_rate=2/1\nnb_read_frames=3\n");
            }
        }
    }
}

TEST_F(PictureCommandsTest, TheSizeLimitIsToldBeforeWritingAndWhenReached) {
    ORVELLO_NEED_PEER("ffprobe");
    movie = (dataDir() / "movie.avi").string();
    for (int i = 0; i < 6; ++i) Picture("p" + std::to_string(i) + ".jpg", Jpeg(64, 48, 0x30 * i));
    Open();
    // Room for three uncompressed 64 x 48 frames (9216 bytes each) beside the headers.
    maxFileSize = 65536 + 3 * (9216 + 24) + 100;
    EXPECT_EQ(ui::FramesWithinAviLimit(64, 48, maxFileSize), 3);

    prompts.answers = {true};  // the pictures that fit
    commands->SaveselectedpicturesasAVIfile1Click();
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown.front().contains(QStringLiteral("seules les 3 premières"))) << prompts.shown.front().toStdString();
    EXPECT_EQ(Probe(movie), "codec_name=rawvideo\nwidth=64\nheight=48\nr_frame_rate=2/1\nnb_read_frames=3\n");

    fs::remove(movie);
    prompts.shown.clear();
    prompts.answers = {false};             // another compression instead
    compressors = {0, media::kMotionJPEG};  // the second choice is Motion-JPEG
    commands->SaveselectedpicturesasAVIfile1Click();
    EXPECT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(Probe(movie), "codec_name=mjpeg\nwidth=64\nheight=48\nr_frame_rate=2/1\nnb_read_frames=6\n");

    // Reached anyway (Motion-JPEG frames are not foreseen): the frames so far are kept.
    fs::remove(movie);
    prompts.shown.clear();
    maxFileSize = 9000;
    compressors = {media::kMotionJPEG};
    for (int i = 0; i < 6; ++i)  // busy pictures: a few kilobytes each as Motion-JPEG
        Picture("p" + std::to_string(i) + ".jpg",
                testpictures::EncodeJpeg(testpictures::MakeBitmap(64, 48, [i](int x, int y) {
                    return static_cast<std::uint32_t>((x * 97 + y * 31 + i) * 2654435761u) & 0xFFFFFF;
                })));
    commands->SaveselectedpicturesasAVIfile1Click();
    ASSERT_EQ(prompts.shown.size(), 1) << testsupport::RunProgram({"ls", "-l", movie}).out;
    const std::string probed = Probe(movie);
    const std::size_t at = probed.find("nb_read_frames=");
    ASSERT_NE(at, std::string::npos) << probed;
    const int kept = std::stoi(probed.substr(at + 15));
    EXPECT_GT(kept, 0);
    EXPECT_LT(kept, 6);
    EXPECT_TRUE(prompts.shown.front().startsWith(QStringLiteral("Le film a atteint la taille limite")));
    EXPECT_TRUE(prompts.shown.front().contains(QStringLiteral("les %1 premières").arg(kept)))
        << prompts.shown.front().toStdString();
}

// A Motion-JPEG movie of saved pictures: those of the movie's size that decode cleanly are its
// frames byte for byte; one cut short and one of another size are decoded and encoded again at
// the movie's size.
TEST_F(PictureCommandsTest, AMotionJpegMovieTakesSavedPicturesOfItsSizeAsTheyAre) {
    ORVELLO_NEED_PEER("ffprobe");
    movie = (dataDir() / "movie.avi").string();
    compressors = {media::kMotionJPEG};
    const auto busy = [](int width, int height, int seed) {
        return testpictures::EncodeJpeg(testpictures::MakeBitmap(width, height, [seed](int x, int y) {
            return static_cast<std::uint32_t>((x * 97 + y * 31 + seed) * 2654435761u) & 0xFFFFFF;
        }));
    };
    std::vector<std::string> saved = {busy(64, 48, 0), busy(64, 48, 1), busy(64, 48, 2), busy(64, 48, 3),
                                      busy(100, 60, 4)};
    saved[2].resize(saved[2].size() - 30);  // cut short inside its data
    for (std::size_t i = 0; i < saved.size(); ++i) Picture("p" + std::to_string(i) + ".jpg", saved[i]);
    Open();
    commands->SaveselectedpicturesasAVIfile1Click();
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.shown.join('\n').toStdString();

    const testsupport::RiffChunk riff = testsupport::ReadRiff(movie);
    const testsupport::RiffChunk* movi = riff.Find("movi");
    ASSERT_NE(movi, nullptr);
    ASSERT_EQ(movi->children.size(), saved.size());
    for (std::size_t i : {0u, 1u, 3u}) EXPECT_EQ(movi->children[i].data, saved[i]) << "frame " << i;
    for (std::size_t i : {2u, 4u}) EXPECT_NE(movi->children[i].data, saved[i]) << "frame " << i;
    // Every frame decodes, without a word from the decoder, at the movie's size.
    const testsupport::ProgramResult frames = testsupport::RunProgram(
        {"ffprobe", "-v", "error", "-select_streams", "v:0", "-show_entries", "frame=width,height", "-of", "csv=p=0", movie});
    EXPECT_EQ(frames.exit_code, 0);
    EXPECT_EQ(frames.err, "");
    EXPECT_EQ(frames.out, "64,48\n64,48\n64,48\n64,48\n64,48\n");
}

}  // namespace
