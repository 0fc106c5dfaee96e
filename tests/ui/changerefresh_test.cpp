#include "ui/dialogs/changerefresh.h"

#include "tests/ui/dialog_test_support.h"

#include <QCheckBox>
#include <QSpinBox>

#include <optional>

namespace {

using dialogtest::Child;

struct ChangerefreshCase {
    const char* name;
    std::int32_t seconds;
    std::uint8_t flag;
    int shownSeconds;
    bool shownChecked;
    std::optional<int> typed;
    const char* button;
    std::int32_t wantSeconds;
    std::uint8_t wantFlag;
};

TEST(Tchangerefresh, ShowsTheValuesAndWritesThemBack) {
    const std::vector<ChangerefreshCase> cases = {
        {"the callers' presets come back", 30, 1, 30, true, std::nullopt, "OKBtn", 30, 1},
        {"a long refresh and the flag off", 30, 0, 30, false, 86400, "OKBtn", 86400, 0},
        {"a negative refresh becomes 0", -5, 1, 0, true, std::nullopt, "OKBtn", 0, 1},
        {"nothing below 0 can be typed", 30, 1, 30, true, -10, "OKBtn", 0, 1},
        {"cancel changes nothing", 30, 1, 30, true, 10, "CancelBtn", 30, 1},
    };
    for (const ChangerefreshCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::int32_t seconds = c.seconds;
        std::uint8_t flag = c.flag;
        ui::Tchangerefresh& dialog = ui::changerefresh();
        dialogtest::WhenShown(dialog, [&] {
            auto& spin = Child<QSpinBox>(dialog, "SpinEdit1");
            EXPECT_EQ(spin.value(), c.shownSeconds);
            EXPECT_EQ(Child<QCheckBox>(dialog, "CheckBox1").isChecked(), c.shownChecked);
            dialogtest::SaveScreenshot(dialog, "changerefresh");
            if (c.typed) {
                Child<QCheckBox>(dialog, "CheckBox1").setChecked(c.wantFlag == 1);
                spin.setValue(*c.typed);
            }
            dialogtest::Click(dialog, c.button);
        });
        EXPECT_EQ(dialog.Execute(seconds, flag), std::string(c.button) == "OKBtn");
        EXPECT_EQ(seconds, c.wantSeconds);
        EXPECT_EQ(flag, c.wantFlag);
    }
}

}  // namespace
