#include "ui/dialogs/acdefopt.h"

#include "tests/ui/dialog_test_support.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>

#include <functional>

namespace {

using dialogtest::Child;

struct AutoCreate {
    std::int32_t refresh = 60;
    std::uint8_t start = 1;
    std::uint16_t noIfModifiedSince = 0;
    std::uint8_t oneWordPrefix = 0;
    std::uint8_t oneWordNames = 0;
    std::uint8_t saveMode = 0;
    bool operator==(const AutoCreate&) const = default;
};

void PrintTo(const AutoCreate& v, std::ostream* os) {
    *os << "{refresh " << v.refresh << ", start " << int(v.start) << ", noIMS " << v.noIfModifiedSince
        << ", prefix " << int(v.oneWordPrefix) << ", names " << int(v.oneWordNames) << ", mode " << int(v.saveMode)
        << "}";
}

struct AcdefoptCase {
    const char* name;
    AutoCreate given;
    std::function<void(QWidget&)> checkShown;
    std::function<void(QWidget&)> edit;
    const char* button;
    AutoCreate want;
};

AutoCreate With(AutoCreate v, const std::function<void(AutoCreate&)>& change) {
    change(v);
    return v;
}

void SkipChecked(QWidget& d, int count) {
    EXPECT_TRUE(Child<QRadioButton>(d, "RadioButton3").isChecked());
    EXPECT_EQ(Child<QSpinBox>(d, "SpinEdit1").value(), count);
}

TEST(Tacdefopt, ShowsTheValuesAndWritesThemBackByTheRules) {
    const AutoCreate plain;
    const AutoCreate skip7 = With(plain, [](AutoCreate& v) { v.saveMode = 7; });
    const auto nothing = [](QWidget&) {};
    const std::vector<AcdefoptCase> cases = {
        {"save mode 7 shows Sauter with 7 and comes back as 7", skip7,
         [](QWidget& d) {
             EXPECT_EQ(Child<QLineEdit>(d, "Edit6").text(), "60");
             EXPECT_TRUE(Child<QCheckBox>(d, "CheckBox1").isChecked());
             EXPECT_TRUE(Child<QCheckBox>(d, "CheckBox4").isChecked());
             EXPECT_FALSE(Child<QCheckBox>(d, "CheckBox2").isChecked());
             SkipChecked(d, 7);
         },
         nothing, "OKBtn", skip7},
        {"the If-Modified-Since box shows the stored flag inverted",
         With(plain, [](AutoCreate& v) { v.noIfModifiedSince = 5; }),
         [](QWidget& d) { EXPECT_FALSE(Child<QCheckBox>(d, "CheckBox4").isChecked()); }, nothing, "OKBtn",
         With(plain, [](AutoCreate& v) { v.noIfModifiedSince = 1; })},
        {"checking If-Modified-Since writes 0", With(plain, [](AutoCreate& v) { v.noIfModifiedSince = 1; }),
         [](QWidget&) {}, [](QWidget& d) { Child<QCheckBox>(d, "CheckBox4").setChecked(true); }, "OKBtn", plain},
        {"a refresh that is not a number is kept; the rest is written", plain, [](QWidget&) {},
         [](QWidget& d) {
             Child<QLineEdit>(d, "Edit6").setText("soixante");
             Child<QCheckBox>(d, "CheckBox1").setChecked(false);
             Child<QCheckBox>(d, "CheckBox2").setChecked(true);
             Child<QCheckBox>(d, "CheckBox3").setChecked(true);
             Child<QRadioButton>(d, "RadioButton2").setChecked(true);
         },
         "OKBtn",
         With(plain, [](AutoCreate& v) {
             v.start = 0;
             v.oneWordNames = 1;
             v.oneWordPrefix = 1;
             v.saveMode = 255;
         })},
        {"a typed refresh and the motion radio", plain, [](QWidget&) {},
         [](QWidget& d) {
             Child<QLineEdit>(d, "Edit6").setText("120");
             Child<QRadioButton>(d, "RadioButton4").setChecked(true);
         },
         "OKBtn",
         With(plain, [](AutoCreate& v) {
             v.refresh = 120;
             v.saveMode = 254;
         })},
        {"Sauter with a new count", With(plain, [](AutoCreate& v) { v.saveMode = 254; }), [](QWidget&) {},
         [](QWidget& d) {
             Child<QRadioButton>(d, "RadioButton3").setChecked(true);
             Child<QSpinBox>(d, "SpinEdit1").setValue(253);
         },
         "OKBtn", With(plain, [](AutoCreate& v) { v.saveMode = 253; })},
        {"every picture", skip7, [](QWidget&) {},
         [](QWidget& d) { Child<QRadioButton>(d, "RadioButton1").setChecked(true); }, "OKBtn", plain},
        {"cancel changes nothing", skip7, [](QWidget&) {},
         [](QWidget& d) {
             Child<QLineEdit>(d, "Edit6").setText("5");
             Child<QRadioButton>(d, "RadioButton2").setChecked(true);
         },
         "CancelBtn", skip7},
    };
    for (const AcdefoptCase& c : cases) {
        SCOPED_TRACE(c.name);
        AutoCreate v = c.given;
        ui::Tacdefopt& dialog = ui::acdefopt();
        dialogtest::WhenShown(dialog, [&] {
            c.checkShown(dialog);
            dialogtest::SaveScreenshot(dialog, "acdefopt");
            c.edit(dialog);
            dialogtest::Click(dialog, c.button);
        });
        const bool ok = dialog.Execute(v.refresh, v.start, v.noIfModifiedSince, v.oneWordPrefix, v.oneWordNames,
                                       v.saveMode);
        EXPECT_EQ(ok, std::string(c.button) == "OKBtn");
        EXPECT_EQ(v, c.want);
    }
}

TEST(Tacdefopt, ParametresRunsTheGlobalMotionSettings) {
    AutoCreate v;
    int runs = 0;
    ui::Tacdefopt& dialog = ui::acdefopt();
    dialogtest::WhenShown(dialog, [&] {
        dialogtest::Click(dialog, "Button1");
        dialogtest::Click(dialog, "CancelBtn");
    });
    dialog.Execute(v.refresh, v.start, v.noIfModifiedSince, v.oneWordPrefix, v.oneWordNames, v.saveMode,
                   [&] { ++runs; });
    EXPECT_EQ(runs, 1);
}

}  // namespace
