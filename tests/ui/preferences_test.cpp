#include "ui/dialogs/preferences.h"

#include "engine/messages.h"
#include "engine/regconfig.h"
#include "tests/ui/dialog_test_support.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSpinBox>

#include <algorithm>
#include <functional>

namespace {

using dialogtest::Child;

struct Records {
    Records() {
        extra1.WeatherURL = "http://weather.example/cgi-bin/findweather/getForecast";
        extra1.WeatherQuery = "?query=$P+$C";
        extra1.MapURL = "http://maps.example/world/places.cgi";
        extra1.MapQuery = "?place=$P&country=$C";
    }
    engine::TConfigRec config = engine::DefaultConfig();
    engine::TExtra1Rec extra1 = engine::DefaultExtra1();
    engine::TDiskManRec diskMan = engine::DefaultDiskMan();
};

struct PreferencesCase {
    const char* name;
    std::function<void(Records&)> given;     // the stored values
    std::function<void(QWidget&)> edit;
    const char* button;
    std::function<void(Records&)> expect;    // applied to the given values
    bool restartMessage;
};

TEST(TPreferences, ShowsTheValuesAndWritesThemBackAfterTheRestartMessage) {
    const std::vector<PreferencesCase> cases = {
        {"unchanged", [](Records&) {}, [](QWidget&) {}, "OKBtn", [](Records&) {}, true},
        {"every field edited", [](Records&) {},
         [](QWidget& d) {
             Child<QSpinBox>(d, "SpinEdit1").setValue(32);
             Child<QLineEdit>(d, "Edit1").setText("http://météo.example/w");
             Child<QLineEdit>(d, "Edit2").setText("http://map.example/m");
             Child<QLineEdit>(d, "Edit3").setText("?q=$P");
             Child<QLineEdit>(d, "Edit4").setText("?c=$C");
             Child<QSpinBox>(d, "SpinEdit2").setValue(5);
             Child<QSpinBox>(d, "SpinEdit3").setValue(1440);
             Child<QCheckBox>(d, "CheckBox1").setChecked(false);
         },
         "OKBtn",
         [](Records& r) {
             r.config.MaxThreads = 32;
             r.extra1.WeatherURL = "http://m\xE9t\xE9o.example/w";
             r.extra1.MapURL = "http://map.example/m";
             r.extra1.WeatherQuery = "?q=$P";
             r.extra1.MapQuery = "?c=$C";
             r.config.SlowScanRefresh = 5;
             r.config.SlowScanIdle = 1440;
             r.diskMan.TrayIcon = 0;
         },
         true},
        {"stored values outside the boxes' ranges come back inside them",
         [](Records& r) {
             r.config.MaxThreads = 100;
             r.config.SlowScanRefresh = 0;
             r.config.SlowScanIdle = 5000;
         },
         [](QWidget&) {}, "OKBtn",
         [](Records& r) {
             r.config.MaxThreads = 64;
             r.config.SlowScanRefresh = 1;
             r.config.SlowScanIdle = 1440;
         },
         true},
        {"cancel changes nothing and says nothing", [](Records&) {},
         [](QWidget& d) { Child<QSpinBox>(d, "SpinEdit1").setValue(3); }, "CancelBtn", [](Records&) {}, false},
    };
    for (const PreferencesCase& c : cases) {
        SCOPED_TRACE(c.name);
        Records records;
        c.given(records);
        Records want = records;
        c.expect(want);
        const Records before = records;

        ui::TPreferences& dialog = ui::preferences();
        // The message comes before anything is written.
        dialogtest::MessageBoxAnswerer answers([&] { EXPECT_TRUE(dialogtest::SameBytes(records.config, before.config)); });
        dialogtest::WhenShown(dialog, [&] {
            EXPECT_EQ(Child<QSpinBox>(dialog, "SpinEdit1").value(), std::clamp(before.config.MaxThreads, 2, 64));
            EXPECT_EQ(Child<QLineEdit>(dialog, "Edit1").text().toStdString(), before.extra1.WeatherURL.str());
            EXPECT_EQ(Child<QLineEdit>(dialog, "Edit4").text().toStdString(), before.extra1.MapQuery.str());
            EXPECT_TRUE(Child<QCheckBox>(dialog, "CheckBox1").isChecked());
            dialogtest::SaveScreenshot(dialog, "preferences");
            c.edit(dialog);
            dialogtest::Click(dialog, c.button);
        });
        EXPECT_EQ(dialog.Execute(records.config, records.extra1, records.diskMan), c.restartMessage);
        EXPECT_TRUE(dialogtest::SameBytes(records.config, want.config));
        EXPECT_TRUE(dialogtest::SameBytes(records.extra1, want.extra1));
        EXPECT_TRUE(dialogtest::SameBytes(records.diskMan, want.diskMan));
        const QStringList expected =
            c.restartMessage ? QStringList{QString::fromStdString(engine::LoadMessage(65285))} : QStringList{};
        EXPECT_EQ(answers.texts(), expected);
    }
}

}  // namespace
