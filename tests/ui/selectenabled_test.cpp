#include "ui/dialogs/selectenabled.h"

#include "tests/ui/dialog_test_support.h"

#include <QRadioButton>

namespace {

using dialogtest::Child;

// One showing: the radios expected checked when it opens, the ones the user clicks, the
// button, and what comes back.
struct SelectenabledRun {
    const char* shownWhich;
    const char* shownAppend;
    std::vector<const char*> clicks;
    const char* button;
    int which, append;  // -1: left as the caller had it
};

TEST(Tselectenabled, ReturnsTheChosenScopeAndKeepsItForTheNextShowing) {
    // Runs in order on the one dialog: it starts on "all" and "new list", and each showing
    // opens with what the last OK left.
    const std::vector<SelectenabledRun> runs = {
        {"RadioButton1", "RadioButton6", {}, "OKBtn", 1, 0},
        {"RadioButton1", "RadioButton6", {"RadioButton2"}, "OKBtn", 2, 0},
        {"RadioButton2", "RadioButton6", {"RadioButton3", "RadioButton7"}, "OKBtn", 3, 1},
        {"RadioButton3", "RadioButton7", {"RadioButton4"}, "OKBtn", 4, 1},
        {"RadioButton4", "RadioButton7", {"RadioButton5", "RadioButton6"}, "OKBtn", 5, 0},
        {"RadioButton5", "RadioButton6", {"RadioButton1"}, "CancelBtn", -1, -1},
    };
    int step = 0;
    for (const SelectenabledRun& run : runs) {
        SCOPED_TRACE(step++);
        int which = -1, append = -1;
        ui::Tselectenabled& dialog = ui::selectenabled();
        dialogtest::WhenShown(dialog, [&] {
            EXPECT_TRUE(Child<QRadioButton>(dialog, run.shownWhich).isChecked());
            EXPECT_TRUE(Child<QRadioButton>(dialog, run.shownAppend).isChecked());
            dialogtest::SaveScreenshot(dialog, "selectenabled");
            for (const char* radio : run.clicks) dialogtest::Click(dialog, radio);
            dialogtest::Click(dialog, run.button);
        });
        EXPECT_EQ(dialog.Execute(which, append), std::string(run.button) == "OKBtn");
        EXPECT_EQ(which, run.which);
        EXPECT_EQ(append, run.append);
    }
}

}  // namespace
