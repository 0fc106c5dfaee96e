#include "ui/dialogs/motion_settings_dialog.h"

#include "engine/regconfig.h"
#include "platform/settings_store.h"
#include "tests/support/temp_dir.h"
#include "tests/ui/dialog_test_support.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

#include <functional>
#include <map>

namespace {

using engine::TMotionSettingsRec;

class FakeWebcams : public ui::MotionWebcamRecords {
public:
    std::optional<engine::TWebcamDef1Rec> GetRecord2(int webcamNo) const override {
        const auto it = records.find(webcamNo);
        return it == records.end() ? std::nullopt : std::optional(it->second);
    }
    void SetRecord2(int webcamNo, const engine::TWebcamDef1Rec& rec2) override {
        records[webcamNo] = rec2;
        ++stores;
    }
    std::map<int, engine::TWebcamDef1Rec> records;
    int stores = 0;
};

class MotionSettingsDialog : public testsupport::IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        platform::SettingsKey(engine::kSettingsKey, true);
        engine::WriteGlobalMotionSettings({6, 7, 14, {}});
        auto rec2 = engine::ZeroRecord<engine::TWebcamDef1Rec>();
        rec2.MotionCellSize = 8;
        webcams_.records[2] = rec2;
        dialog_.SetWebcamRecords(&webcams_);
    }
    void TearDown() override {
        dialog_.SetWebcamRecords(nullptr);
        IsolatedTest::TearDown();
    }
    template <typename W>
    W* Get(const char* name) {
        return &dialogtest::Child<W>(dialog_, name);
    }
    std::vector<int> Bars() {
        return {Get<QSlider>("TrackBar1")->value(), Get<QSlider>("TrackBar2")->value(),
                Get<QSlider>("TrackBar3")->value()};
    }
    void SetBars(int cell, int threshold, int sensitivity) {
        Get<QSlider>("TrackBar1")->setValue(cell);
        Get<QSlider>("TrackBar2")->setValue(threshold);
        Get<QSlider>("TrackBar3")->setValue(sensitivity);
    }
    // Runs the dialog; `inside` acts while it is shown and ends with OK or Cancel.
    TMotionSettingsRec Edit(int webcamNo, bool globalOnly, std::function<void()> inside) {
        TMotionSettingsRec rec{};
        dialogtest::WhenShown(dialog_, std::move(inside));
        dialog_.EditSettings(webcamNo, globalOnly, rec);
        return rec;
    }
    void Click(const char* name) { dialogtest::Click(dialog_, name); }

    FakeWebcams webcams_;
    ui::Tmotionsettings& dialog_ = ui::motionsettings();
};

std::vector<int> Values(const TMotionSettingsRec& r) { return {r.CellSize, r.Threshold, r.Sensitivity}; }

TEST_F(MotionSettingsDialog, ShowsItsFrenchTexts) {
    EXPECT_EQ(dialog_.windowTitle(), QString::fromUtf8("Pamètres de la détection de mouvement"));
    const std::map<const char*, const char*> labels = {
        {"Label1", "Taille De Cellules"}, {"Label2", "Le pourcentage des cellules a changé"},
        {"Label3", "Sensibilité"},         {"Label4", "Petit"},
        {"Label7", "Largeur"},             {"Label10", "Changer les options de détection de mouvement :"}};
    for (const auto& [name, text] : labels)
        EXPECT_EQ(Get<QLabel>(name)->text(), QString::fromUtf8(text)) << name;
    EXPECT_EQ(Get<QRadioButton>("RadioButton1")->text(), QStringLiteral("Webcam actuelle"));
    EXPECT_EQ(Get<QRadioButton>("RadioButton2")->text(), QString::fromUtf8("Par défaut"));
    EXPECT_EQ(Get<QPushButton>("Button1")->text(), QStringLiteral("Restaurer"));
    EXPECT_EQ(Get<QSlider>("TrackBar2")->maximum(), 25);
}

TEST_F(MotionSettingsDialog, EditsTheGlobalSettingsWithoutAWebcam) {
    const TMotionSettingsRec rec = Edit(0, false, [&] {
        EXPECT_FALSE(Get<QRadioButton>("RadioButton1")->isEnabled());
        EXPECT_TRUE(Get<QRadioButton>("RadioButton2")->isChecked());
        EXPECT_EQ(Bars(), (std::vector<int>{6, 7, 14}));
        dialogtest::SaveScreenshot(dialog_, "motionsettings");
        SetBars(9, 10, 11);
        Click("OKBtn");
    });
    EXPECT_EQ(Values(rec), (std::vector<int>{9, 10, 11}));
    EXPECT_EQ(Values(engine::ReadGlobalMotionSettings()), (std::vector<int>{9, 10, 11}));
    EXPECT_EQ(webcams_.stores, 0);
}

TEST_F(MotionSettingsDialog, OkStoresTheWebcamsOwnValues) {
    const TMotionSettingsRec rec = Edit(2, false, [&] {
        EXPECT_TRUE(Get<QRadioButton>("RadioButton1")->isChecked());
        EXPECT_EQ(Bars(), (std::vector<int>{8, 7, 14})) << "its cell size, the global rest";
        Get<QSlider>("TrackBar2")->setValue(9);
        Click("OKBtn");
    });
    EXPECT_EQ(Values(rec), (std::vector<int>{8, 9, 14}));
    const engine::TWebcamDef1Rec& stored = webcams_.records[2];
    EXPECT_EQ(stored.MotionCellSize, 8);
    EXPECT_EQ(stored.MotionThreshold, 9);
    EXPECT_EQ(stored.MotionSensitivity, 14);
    EXPECT_EQ(Values(engine::ReadGlobalMotionSettings()), (std::vector<int>{6, 7, 14})) << "global unchanged";
}

TEST_F(MotionSettingsDialog, CancelStoresNothingAndReturnsTheShownSettings) {
    const TMotionSettingsRec rec = Edit(2, false, [&] {
        SetBars(20, 20, 20);
        Click("CancelBtn");
    });
    EXPECT_EQ(Values(rec), (std::vector<int>{8, 7, 14}));
    EXPECT_EQ(webcams_.stores, 0);
    EXPECT_EQ(Values(engine::ReadGlobalMotionSettings()), (std::vector<int>{6, 7, 14}));
}

TEST_F(MotionSettingsDialog, TheRadioButtonsReloadTheirSettings) {
    const TMotionSettingsRec rec = Edit(2, false, [&] {
        Get<QRadioButton>("RadioButton2")->click();
        EXPECT_EQ(Bars(), (std::vector<int>{6, 7, 14}));
        Get<QRadioButton>("RadioButton1")->click();
        EXPECT_EQ(Bars(), (std::vector<int>{8, 7, 14}));
        Get<QRadioButton>("RadioButton2")->click();
        SetBars(3, 3, 3);
        Click("OKBtn");
    });
    EXPECT_EQ(Values(rec), (std::vector<int>{3, 3, 3}));
    EXPECT_EQ(Values(engine::ReadGlobalMotionSettings()), (std::vector<int>{3, 3, 3}));
    EXPECT_EQ(webcams_.stores, 0);
}

TEST_F(MotionSettingsDialog, RestoreClearsTheWebcamsOverridesAtOnce) {
    Edit(2, false, [&] {
        Click("Button1");
        EXPECT_EQ(webcams_.stores, 1) << "stored before OK";
        EXPECT_EQ(webcams_.records[2].MotionCellSize, 0);
        EXPECT_EQ(Bars(), (std::vector<int>{4, 5, 13}));
        Click("CancelBtn");
    });
    Edit(2, true, [&] {
        EXPECT_TRUE(Get<QRadioButton>("RadioButton2")->isChecked());
        Click("Button1");
        EXPECT_EQ(webcams_.stores, 1) << "the global choice stores nothing at once";
        EXPECT_EQ(Bars(), (std::vector<int>{4, 5, 13}));
        Click("CancelBtn");
    });
}

}  // namespace
