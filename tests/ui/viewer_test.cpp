#include "ui/viewer/viewer.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>

#include <filesystem>

#include "media/qt/led_gauge.h"
#include "tests/support/temp_dir.h"
#include "tests/ui/dialog_test_support.h"
#include "tests/ui/filters_fixture.h"
#include "ui/viewer/picture_services.h"

namespace {

using dialogtest::Child;

class FakeViewerHost : public ui::ViewerHost {
public:
    bool ViewerPageShown() const override { return true; }
    void LoadCurrentMotionSettings() override { ++motionLoads; }
    int MotionThreshold() const override { return 5; }
    media::TMMLEDGauge& MotionGauge() override { return gauge; }
    void SetStatusText(const QString& text) override { statuses << text; }
    void RememberDiskPageState() override {}
    int DiskEntryNumber() const override { return 2; }
    int DiskEntryCount() const override { return 7; }

    int motionLoads = 0;
    QStringList statuses;
    media::TMMLEDGauge gauge;
};

class Viewer : public ::testing::Test {
protected:
    Viewer() {
        ui::ViewerServices services;
        services.makePicture = filterstest::MakePicture;
        services.decode = filterstest::DecodePicture;
        services.enhance = [this](engine::Bitmap& bitmap, int level, int mix) {
            ++enhanced;
            lastLevel = level;
            lastMix = mix;
            for (std::size_t i = 0; i < bitmap.size(); ++i) bitmap.data()[i] = 255 - bitmap.data()[i];
        };
        services.compareFiles = [this](const std::string& a, const std::string& b) {
            comparisons.emplace_back(a, b);
            return 33;
        };
        viewer = std::make_unique<ui::TViewer>(host, std::move(services));
        viewer->resize(640, 480);
        viewer->show();
        QApplication::processEvents();
    }

    QWidget& Image1() { return Child<QWidget>(*viewer, "Image1"); }
    QScrollArea& ScrollBox1() { return Child<QScrollArea>(*viewer, "ScrollBox1"); }
    std::string WriteFile(const std::string& name, const std::string& bytes) {
        const std::string path = (temp.path() / name).string();
        testsupport::WriteFile(path, bytes);
        return path;
    }
    void Show(int width, int height, int r = 90) {
        auto picture = filterstest::MakePicture(filterstest::PictureBytes(width, height, r));
        viewer->DisplayEnginePicture(*picture);
    }

    testsupport::TempDir temp;
    FakeViewerHost host;
    std::unique_ptr<ui::TViewer> viewer;
    std::vector<std::pair<std::string, std::string>> comparisons;
    int enhanced = 0, lastLevel = 0, lastMix = 0;
};

TEST_F(Viewer, FitsAndCentresThePictureInTheScrollBox) {
    Show(640, 480);
    const QSize box = ScrollBox1().size();
    const ui::PictureSize size = ui::ZoomedSize(ui::kZoomFit, {640, 480}, {box.width(), box.height()});
    EXPECT_EQ(Image1().size(), QSize(size.width, size.height));
    EXPECT_EQ(Image1().pos(), QPoint((box.width() - size.width) / 2, (box.height() - size.height) / 2));
    EXPECT_EQ(Child<QLabel>(*viewer, "Label43").text(), QStringLiteral("Taille 640 x 480"));
    EXPECT_EQ(viewer->LastDisplayMode(), ui::kDisplayEngine);

    // Close to the edge: no bevels. Small and centred: both bevels around it.
    EXPECT_FALSE(Child<QFrame>(*viewer, "Bevel8").isVisible());
    viewer->SetZoom(1);
    EXPECT_EQ(Image1().size(), QSize(160, 120));
    auto& bevel8 = Child<QFrame>(*viewer, "Bevel8");
    auto& bevel9 = Child<QFrame>(*viewer, "Bevel9");
    EXPECT_TRUE(bevel8.isVisible());
    EXPECT_EQ(bevel8.geometry(), Image1().geometry().adjusted(-4, -4, 4, 4));
    EXPECT_EQ(bevel9.geometry(), Image1().geometry().adjusted(-10, -10, 10, 10));
    QApplication::processEvents();
    dialogtest::SaveScreenshot(*viewer, "viewer");
}

// The bevels need 11 pixels of room on the left and above the picture: 10 hide them.
TEST_F(Viewer, BevelsShowOnlyWithElevenPixelsOfRoom) {
    viewer->SetZoom(4);  // 100 %: the picture keeps its size
    const QSize box = ScrollBox1().size();
    struct Case {
        int left, top;
        bool shown;
    };
    for (const Case& c : {Case{11, 11, true}, Case{10, 30, false}, Case{30, 10, false}, Case{12, 40, true}}) {
        SCOPED_TRACE(std::to_string(c.left) + "," + std::to_string(c.top));
        Show(box.width() - 2 * c.left, box.height() - 2 * c.top);
        ASSERT_EQ(Image1().pos(), QPoint(c.left, c.top));
        EXPECT_EQ(Child<QFrame>(*viewer, "Bevel8").isVisible(), c.shown);
        EXPECT_EQ(Child<QFrame>(*viewer, "Bevel9").isVisible(), c.shown);
    }
}

TEST_F(Viewer, ZoomButtonsStepAndDisableAtTheEnds) {
    Show(64, 48);
    auto& zoomIn = Child<QToolButton>(*viewer, "SpeedButton33");
    auto& zoomOut = Child<QToolButton>(*viewer, "SpeedButton34");
    auto& label = Child<QLabel>(*viewer, "Label32");
    zoomIn.click();
    EXPECT_EQ(viewer->ZoomMode(), 5);
    EXPECT_EQ(label.text(), QStringLiteral(" (150%) "));
    EXPECT_EQ(Image1().size(), QSize(96, 72));
    for (int i = 0; i < 2; ++i) zoomIn.click();
    EXPECT_EQ(viewer->ZoomMode(), 7);
    EXPECT_FALSE(zoomIn.isEnabled());
    Child<QToolButton>(*viewer, "SpeedButton36").click();
    zoomOut.click();
    EXPECT_EQ(viewer->ZoomMode(), 3);
    for (int i = 0; i < 3; ++i) zoomOut.click();
    EXPECT_EQ(viewer->ZoomMode(), 1);
    EXPECT_FALSE(zoomOut.isEnabled());
    EXPECT_TRUE(zoomIn.isEnabled());
    viewer->SetZoom(0);  // not a mode
    EXPECT_EQ(viewer->ZoomMode(), 1);
}

TEST_F(Viewer, ARunningWebcamsPicturesOfOneSizeKeepTheLayoutAndScrollPosition) {
    viewer->SetZoom(6);
    Show(640, 480, 10);
    const int relayouts = viewer->RelayoutCount();
    ScrollBox1().verticalScrollBar()->setValue(200);
    for (int r = 20; r < 60; r += 10) Show(640, 480, r);
    EXPECT_EQ(viewer->RelayoutCount(), relayouts);
    EXPECT_EQ(ScrollBox1().verticalScrollBar()->value(), 200);
    // Another size, or another zoom, lays the view out anew.
    Show(320, 240);
    EXPECT_EQ(viewer->RelayoutCount(), relayouts + 1);
    viewer->SetZoom(5);
    EXPECT_EQ(viewer->RelayoutCount(), relayouts + 2);
}

TEST_F(Viewer, ShowingTheSameFileTwiceComparesOnce) {
    const std::string a = WriteFile("cam20261210081502.jpg", filterstest::PictureBytes(64, 48));
    const std::string b = WriteFile("cam20261210081602.JPG", filterstest::PictureBytes(64, 48, 200));
    viewer->ShowPictureFile(a, true);
    EXPECT_TRUE(comparisons.empty());  // nothing shown before
    viewer->ShowPictureFile(a, true);
    EXPECT_TRUE(comparisons.empty());
    viewer->ShowPictureFile(b, true);
    ASSERT_EQ(comparisons.size(), 1u);
    EXPECT_EQ(comparisons[0], std::make_pair(a, b));
    EXPECT_EQ(host.motionLoads, 1);
    EXPECT_EQ(host.gauge.Progress(), 33);
    EXPECT_EQ(host.gauge.Point1(), 20);
    EXPECT_EQ(viewer->ShownFileSize(), static_cast<long long>(filterstest::PictureBytes(64, 48, 200).size()));
    EXPECT_TRUE(Child<QLabel>(*viewer, "Label9").text().endsWith(QStringLiteral("( 2de7 )")));
    EXPECT_EQ(host.statuses.last(), QString::fromUtf8("Prêt"));
    EXPECT_FALSE(viewer->ShowsLivePicture());
}

TEST_F(Viewer, AFileThatIsNotAJpegOrCannotBeDecodedLeavesOrClearsTheView) {
    const std::string a = WriteFile("cam20261210081502.jpg", filterstest::PictureBytes(64, 48));
    viewer->ShowPictureFile(a, false);
    const std::string bytes = viewer->ViewerJpeg()->Bytes();
    viewer->ShowPictureFile(WriteFile("notes.png", filterstest::PictureBytes(10, 10)), false);
    EXPECT_EQ(viewer->ViewerJpeg()->Bytes(), bytes);
    EXPECT_TRUE(Image1().isVisible());
    // Bytes that do not decode, or a picture of size 0, clear the view.
    viewer->ShowPictureFile(WriteFile("broken.jpg", "not a picture"), false);
    EXPECT_FALSE(Image1().isVisible());
    EXPECT_EQ(viewer->LastDisplayMode(), 0);
    Show(64, 0);
    EXPECT_FALSE(Image1().isVisible());
}

TEST_F(Viewer, EnhancementDrawsAStretchedCopyWhenOnWithALevelOrMix) {
    Show(64, 48);
    EXPECT_EQ(enhanced, 0);
    viewer->Enhance = {7, 9, true};
    viewer->RedisplayPicture();
    EXPECT_EQ(enhanced, 1);
    EXPECT_EQ(lastLevel, 7);
    EXPECT_EQ(lastMix, 9);
    viewer->Enhance = {0, 0, true};
    viewer->RedisplayPicture();
    EXPECT_EQ(enhanced, 1);
    // The shown picture keeps its own bytes.
    EXPECT_EQ(viewer->ViewerJpeg()->Bytes(), filterstest::PictureBytes(64, 48));
}

TEST_F(Viewer, AMinimisedViewerNeverLaysOutBelowOnePixel) {
    viewer->resize(0, 0);
    Show(640, 480);
    EXPECT_GE(Image1().width(), 1);
    EXPECT_GE(Image1().height(), 1);
}

}  // namespace

namespace {

// The real picture layer: JPEG files decoded by libjpeg-turbo, compared for motion, enhanced.
TEST(ViewerJpeg, ShowsRealJpegFilesAndComparesThem) {
    testsupport::TempDir temp;
    const auto save = [&](const char* name, QColor colour) {
        QImage image(320, 240, QImage::Format_RGB32);
        image.fill(colour);
        const QString path = QString::fromStdString((temp.path() / name).string());
        EXPECT_TRUE(image.save(path, "JPG"));
        return path.toStdString();
    };
    const std::string dark = save("cam20261210081502.jpg", QColor(40, 40, 40));
    const std::string bright = save("cam20261210081602.jpg", QColor(200, 200, 200));
    FakeViewerHost host;
    engine::TMotionSettingsRec settings = engine::DefaultMotionSettings();
    ui::TViewer viewer(host, ui::JpegViewerServices([&] { return settings; }));
    viewer.resize(400, 300);
    viewer.SetZoom(ui::kZoomOriginal);
    viewer.ShowPictureFile(dark, true);
    EXPECT_EQ(Child<QWidget>(viewer, "Image1").size(), QSize(320, 240));
    EXPECT_EQ(Child<QLabel>(viewer, "Label43").text(), QStringLiteral("Taille 320 x 240"));
    viewer.Enhance = {50, 10, true};
    viewer.ShowPictureFile(bright, true);
    // Every block brighter by far more than the ratio limit: a score above the gauge's top.
    EXPECT_EQ(host.gauge.Progress(), 100);
    EXPECT_EQ(Child<QWidget>(viewer, "Image1").size(), QSize(320, 240));
}

}  // namespace
