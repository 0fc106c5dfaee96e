#include "ui/viewer/webcam_switch.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QUrl>

#include <cstring>

#include "engine/webcam_records.h"
#include "media/qt/led_gauge.h"
#include "platform/qt/scripted_prompts.h"
#include "tests/ui/dialog_test_support.h"
#include "tests/ui/filters_fixture.h"
#include "ui/filters/view_filter.h"
#include "ui/viewer/webcam_info.h"

namespace {

class SwitchHost : public ui::WebcamSwitchHost {
public:
    int CurrentWebcam() const override { return current; }
    void SetCurrentWebcam(int webcam) override { current = webcam; }
    void RedrawWebcamCell(int) override {}
    void EnhanceSettingsChanged(const ui::EnhanceSettings& s) override { shown = s; }
    void WebcamBecameCurrent(int, int) override {}
    void OpenWebcamFolder(int) override {}
    void MoveGridCursor(int webcam) override { cursor = webcam; }
    int current = 0;
    int cursor = 0;
    ui::EnhanceSettings shown;
};

class WebcamSwitch : public filterstest::ManagerTest {
protected:
    void SetUp() override {
        ManagerTest::SetUp();
        ui::ViewerServices services;
        services.makePicture = filterstest::MakePicture;
        services.decode = filterstest::DecodePicture;
        viewer_ = std::make_unique<ui::TViewer>(viewerHost_, std::move(services));
    }
    void TearDown() override {
        switch_.reset();
        viewer_.reset();
        ManagerTest::TearDown();
    }
    void Start() {
        ui::FillDisplayMap(*manager_, ui::kFilterAll, platform::Now());
        switch_ = std::make_unique<ui::WebcamSwitch>(*manager_, *viewer_, host_);
    }
    // Record i (1-based) of webcams1.def as stored.
    engine::TWebcamDef1Rec Stored(int i) {
        const std::string file = testsupport::ReadFile(DataFolder() + "webcams1.def");
        auto rec2 = engine::ZeroRecord<engine::TWebcamDef1Rec>();
        const std::size_t at = static_cast<std::size_t>(i - 1) * sizeof rec2;
        if (file.size() >= at + sizeof rec2) std::memcpy(&rec2, file.data() + at, sizeof rec2);
        return rec2;
    }

    filterstest::NullViewerHost viewerHost_;
    SwitchHost host_;
    std::unique_ptr<ui::TViewer> viewer_;
    std::unique_ptr<ui::WebcamSwitch> switch_;
};

TEST_F(WebcamSwitch, EachWebcamKeepsItsOwnEnhancementSettings) {
    engine::twebcam& one = Add("one");
    auto rec2 = one.Rec2();
    rec2.EnhanceLevel = 12;
    rec2.EnhanceOn = 1;
    one.SetRecord2(rec2);
    Add("two");
    Start();
    switch_->ShowWebcam(1);
    EXPECT_EQ(host_.current, 1);
    EXPECT_EQ(viewer_->Enhance, (ui::EnhanceSettings{12, 5, true}));  // a mix of 0 becomes 5
    EXPECT_EQ(host_.shown, viewer_->Enhance);
    viewer_->Enhance.mix = 9;
    switch_->ShowWebcam(2);
    EXPECT_EQ(viewer_->Enhance, (ui::EnhanceSettings{5, 5, false}));
    EXPECT_EQ(Stored(1).EnhanceMix, 9);
    EXPECT_EQ(Stored(1).EnhanceLevel, 12);
    // Unchanged settings are not written: the new webcam's record still says "not set yet".
    switch_->ShowWebcam(1);
    EXPECT_EQ(Stored(2).EnhanceLevel, 0);
    EXPECT_EQ(host_.cursor, 1);
}

TEST_F(WebcamSwitch, ShowingAWebcamClearsItsNewPictureMarkOnly) {
    engine::twebcam& one = Add("one");
    engine::twebcam& two = Add("two");
    one.FNewPicture = true;
    two.FNewPicture = true;
    Start();
    switch_->ShowWebcam(2);
    EXPECT_FALSE(two.FNewPicture);
    EXPECT_TRUE(one.FNewPicture);
}

TEST_F(WebcamSwitch, SettingsOfAWebcamLeftBehindNeverGoIntoAnotherWebcamsRecord) {
    Add("one");
    Add("two");
    Start();
    switch_->ShowWebcam(1);
    viewer_->Enhance = {30, 20, true};
    // A reload puts other webcams at the same numbers.
    manager_->Clear();
    Add("other");
    Add("two again");
    ui::FillDisplayMap(*manager_, ui::kFilterAll, platform::Now());
    // Leaving webcam number 1, which now names another webcam, writes nothing into its record.
    switch_->ShowWebcam(2);
    EXPECT_EQ(host_.current, 2);
    for (int i : {1, 2}) EXPECT_EQ(Stored(i).EnhanceLevel, 0) << i;
    EXPECT_EQ(viewer_->Enhance, (ui::EnhanceSettings{5, 5, false}));
}

TEST_F(WebcamSwitch, HiddenOrUnknownWebcamsAreNotShown) {
    Add("one");
    Add("two");
    Start();
    manager_->SetDisplaySlot(2, -1);
    host_.current = 5;  // above the count: back to 1
    switch_->ShowWebcam(2);
    EXPECT_EQ(host_.current, 1);
    switch_->ShowWebcam(3);
    EXPECT_EQ(host_.current, 1);
    EXPECT_EQ(host_.cursor, 0);
}

TEST_F(WebcamSwitch, AfterTheLastWebcamIsGoneNothingOfItStaysOnShow) {
    engine::twebcam& one = Add("one");
    one.FPicture = filterstest::PictureBytes(64, 48, 255, 0, 0);
    Start();
    switch_->ShowWebcam(1);
    ASSERT_NE(viewer_->LastDisplayMode(), 0);
    manager_->Clear();  // as a delete's reload finds no webcam
    switch_->ShowWebcam(1);
    EXPECT_EQ(host_.current, 0);
    EXPECT_EQ(viewer_->LastDisplayMode(), 0);
    EXPECT_TRUE(viewer_->ShownFileName().isEmpty());
}

// Webcam one with a saved picture shown as the disk page shows it (caption, bytes, size),
// then webcam two, which never had a picture (a dead port): the view describes two only.
TEST_F(WebcamSwitch, AWebcamWithoutAPictureShowsNothingOfTheOneBefore) {
    engine::twebcam& one = Add("one");
    const std::string saved = one.Folder() + "20261211101010.jpg";
    testsupport::WriteFile(saved, filterstest::PictureBytes(64, 48, 255, 0, 0));
    Add("two");
    Start();
    switch_->ShowWebcam(1);
    viewer_->ShowPictureFile(saved, true);
    viewerHost_.gauge.SetProgress(40);
    const auto text = [&](const char* label) { return viewer_->findChild<QLabel*>(label)->text(); };
    const char* const footer[] = {"Label9", "Label19", "Label43"};  // caption, bytes, "Taille w x h"
    for (const char* label : footer) ASSERT_FALSE(text(label).isEmpty()) << label;

    switch_->ShowWebcam(2);
    EXPECT_EQ(host_.current, 2);
    for (const char* label : footer) EXPECT_EQ(text(label), QString()) << label;
    EXPECT_EQ(viewer_->LastDisplayMode(), 0);
    EXPECT_EQ(viewerHost_.gauge.Progress(), 0);
    // Nothing of webcam one is left for "save the picture" or "copy its file name".
    EXPECT_EQ(viewer_->ViewerJpeg(), nullptr);
    EXPECT_EQ(viewer_->PreviousFileName(), "");
}

TEST_F(WebcamSwitch, TheLinkIsOpenedOnlyForWebAddresses) {
    engine::twebcam& one = Add("one");
    Start();
    std::vector<QUrl> opened;
    const auto opener = [&](const QUrl& url) {
        opened.push_back(url);
        return true;
    };
    for (const char* link : {"file:///etc/passwd", "http://example.org/cam", "javascript:x"}) {
        auto rec = one.Rec();
        rec.LinkURL = link;
        one.SetRecord(rec);
        dialogtest::MessageBoxAnswerer answerer;
        ui::OpenWebcamLink(*manager_, 1, nullptr, opener);
        QApplication::processEvents();
    }
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl(QStringLiteral("http://example.org/cam")));
}

TEST_F(WebcamSwitch, ALinkNoBrowserCanOpenIsToldWithItsAddress) {
    engine::twebcam& one = Add("one");
    Start();
    auto rec = one.Rec();
    rec.LinkURL = "http://example.org/cam";
    one.SetRecord(rec);
    platform::ScriptedPrompts prompts;
    ui::OpenWebcamLink(*manager_, 1, nullptr, [](const QUrl&) { return false; });
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].startsWith(QString::fromUtf8("Aucun navigateur n'a pu être lancé")));
    EXPECT_TRUE(prompts.shown[0].endsWith(QStringLiteral("\nhttp://example.org/cam")));
}

TEST_F(WebcamSwitch, InfoPanelTexts) {
    engine::twebcam& one = Add("one");
    one.FRunning = true;
    one.FLastNewPicture = platform::Now() - 0.05;
    const ui::WebcamInfo info = ui::WebcamInfoOf(one, 4, 2, platform::Now());
    EXPECT_EQ(info.name, QStringLiteral("one"));
    EXPECT_EQ(info.runState, QStringLiteral("En fonctionnement"));
    EXPECT_EQ(info.fileCount, QStringLiteral("6"));
    EXPECT_EQ(info.description,
              QString::fromUtf8("http://127.0.0.1/one.jpg - Dernière image enregistré 72  minute(s)"));
    EXPECT_TRUE(info.running);
    EXPECT_TRUE(info.enabled);
}

}  // namespace
