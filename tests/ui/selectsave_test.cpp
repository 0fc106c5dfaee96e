#include "ui/dialogs/selectsave.h"

#include "tests/ui/dialog_test_support.h"

#include <QRadioButton>

namespace {

using dialogtest::Child;

struct SelectsaveCase {
    const char* name;
    int given;
    const char* shownChecked;  // nullptr: no radio checked
    const char* clicked;       // nullptr: the user chooses nothing
    const char* button;
    int want;
};

TEST(Tselectsave, ChecksTheGivenModeAndWritesTheChosenOne) {
    const std::vector<SelectsaveCase> cases = {
        {"254 shows the motion radio", 254, "RadioButton3", nullptr, "OKBtn", 254},
        {"0 shows saving on", 0, "RadioButton1", nullptr, "OKBtn", 0},
        {"255 shows saving off", 255, "RadioButton2", nullptr, "OKBtn", 255},
        {"a skip count checks none and OK without a choice keeps it", 7, nullptr, nullptr, "OKBtn", 7},
        {"a skip count changed to saving off", 7, nullptr, "RadioButton2", "OKBtn", 255},
        {"motion changed to saving on", 254, "RadioButton3", "RadioButton1", "OKBtn", 0},
        {"cancel keeps the mode", 0, "RadioButton1", "RadioButton3", "CancelBtn", 0},
    };
    for (const SelectsaveCase& c : cases) {
        SCOPED_TRACE(c.name);
        int mode = c.given;
        ui::Tselectsave& dialog = ui::selectsave();
        dialogtest::WhenShown(dialog, [&] {
            for (const char* radio : {"RadioButton1", "RadioButton2", "RadioButton3"}) {
                EXPECT_EQ(Child<QRadioButton>(dialog, radio).isChecked(),
                          c.shownChecked && std::string(radio) == c.shownChecked)
                    << radio;
            }
            dialogtest::SaveScreenshot(dialog, "selectsave");
            if (c.clicked) dialogtest::Click(dialog, c.clicked);
            dialogtest::Click(dialog, c.button);
        });
        EXPECT_EQ(dialog.Execute(mode), std::string(c.button) == "OKBtn");
        EXPECT_EQ(mode, c.want);
    }
}

}  // namespace
