#include "ui/dialogs/globalsave.h"

#include "tests/ui/dialog_test_support.h"

#include <QRadioButton>
#include <QSpinBox>

#include <functional>

namespace {

using dialogtest::Child;

struct GlobalsaveCase {
    const char* name;
    std::uint8_t mode;
    std::uint8_t on;
    const char* shownChecked;
    std::function<void(QWidget&)> edit;
    const char* button;
    std::uint8_t wantMode;
    std::uint8_t wantOn;
};

TEST(TGlobalsave, ShowsTheStateAndWritesItBackByTheRules) {
    const auto nothing = [](QWidget&) {};
    const auto click = [](const char* name) { return [name](QWidget& d) { dialogtest::Click(d, name); }; };
    const std::vector<GlobalsaveCase> cases = {
        {"save mode 7 shows Sauter with 7 and comes back as 7", 7, 1, "RadioButton5",
         [](QWidget& d) { EXPECT_EQ(Child<QSpinBox>(d, "SpinEdit1").value(), 7); }, "OKBtn", 7, 1},
        {"off shows each webcam's own saving and keeps the mode", 254, 0, "RadioButton1", nothing, "OKBtn", 254, 0},
        {"switched off keeps the mode", 0, 1, "RadioButton2", click("RadioButton1"), "OKBtn", 0, 0},
        {"switched on with every picture", 254, 0, "RadioButton1", click("RadioButton2"), "OKBtn", 0, 1},
        {"no pictures", 0, 1, "RadioButton2", click("RadioButton3"), "OKBtn", 255, 1},
        {"on motion", 255, 1, "RadioButton3", click("RadioButton4"), "OKBtn", 254, 1},
        {"Sauter with a new count", 255, 1, "RadioButton3",
         [](QWidget& d) {
             dialogtest::Click(d, "RadioButton5");
             Child<QSpinBox>(d, "SpinEdit1").setValue(3);
         },
         "OKBtn", 3, 1},
        {"cancel changes nothing", 7, 1, "RadioButton5", click("RadioButton1"), "CancelBtn", 7, 1},
    };
    for (const GlobalsaveCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::uint8_t mode = c.mode;
        std::uint8_t on = c.on;
        ui::TGlobalsave& dialog = ui::globalsave();
        dialogtest::WhenShown(dialog, [&] {
            EXPECT_EQ(dialog.pos(), QPoint(40, 60));
            for (const char* radio : {"RadioButton1", "RadioButton2", "RadioButton3", "RadioButton4", "RadioButton5"}) {
                EXPECT_EQ(Child<QRadioButton>(dialog, radio).isChecked(), std::string(radio) == c.shownChecked) << radio;
            }
            dialogtest::SaveScreenshot(dialog, "globalsave");
            c.edit(dialog);
            dialogtest::Click(dialog, c.button);
        });
        EXPECT_EQ(dialog.Execute(mode, on, QPoint(40, 60)), std::string(c.button) == "OKBtn");
        EXPECT_EQ(mode, c.wantMode);
        EXPECT_EQ(on, c.wantOn);
    }
}

TEST(TGlobalsave, ParametresRunsTheGlobalMotionSettings) {
    std::uint8_t mode = 254, on = 1;
    int runs = 0;
    ui::TGlobalsave& dialog = ui::globalsave();
    dialogtest::WhenShown(dialog, [&] {
        dialogtest::Click(dialog, "Button1");
        dialogtest::Click(dialog, "CancelBtn");
    });
    dialog.Execute(mode, on, QPoint(0, 0), [&] { ++runs; });
    EXPECT_EQ(runs, 1);
}

}  // namespace
