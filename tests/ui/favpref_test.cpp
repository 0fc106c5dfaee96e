#include "ui/dialogs/favpref.h"

#include "engine/regconfig.h"
#include "tests/ui/dialog_test_support.h"

#include <QCheckBox>
#include <QLineEdit>

namespace {

using dialogtest::Child;

struct FavprefCase {
    const char* name;
    std::uint8_t onGiven;
    bool shownChecked;
    const char* typed;  // nullptr: the refresh text is left as shown
    bool check;
    const char* button;
    std::uint8_t onWant;
    std::uint16_t refreshWant;
};

TEST(Tfavpref, ShowsTheValuesAndWritesThemBackByTheRules) {
    const std::vector<FavprefCase> cases = {
        {"on and its refresh come back", 1, true, nullptr, true, "OKBtn", 1, 15},
        {"only 1 counts as on; writing gives 0 or 1", 2, false, nullptr, false, "OKBtn", 0, 15},
        {"switched on with a new refresh", 0, false, "40", true, "OKBtn", 1, 40},
        {"a refresh that is not a number is kept", 1, true, "vite", false, "OKBtn", 0, 15},
        {"a refresh beyond 16 bits is kept", 1, true, "70000", true, "OKBtn", 1, 15},
        {"cancel changes nothing", 0, false, "40", true, "CancelBtn", 0, 15},
    };
    for (const FavprefCase& c : cases) {
        SCOPED_TRACE(c.name);
        engine::TConfigRec config = engine::DefaultConfig();
        config.FavRefreshOn = c.onGiven;
        engine::TConfigRec want = config;
        want.FavRefreshOn = c.onWant;
        want.FavRefresh = c.refreshWant;
        ui::Tfavpref& dialog = ui::favpref();
        dialogtest::WhenShown(dialog, [&] {
            EXPECT_EQ(Child<QCheckBox>(dialog, "CheckBox1").isChecked(), c.shownChecked);
            EXPECT_EQ(Child<QLineEdit>(dialog, "Edit1").text(), "15");
            dialogtest::SaveScreenshot(dialog, "favpref");
            if (c.typed) Child<QLineEdit>(dialog, "Edit1").setText(c.typed);
            Child<QCheckBox>(dialog, "CheckBox1").setChecked(c.check);
            dialogtest::Click(dialog, c.button);
        });
        EXPECT_EQ(dialog.Execute(config), std::string(c.button) == "OKBtn");
        EXPECT_TRUE(dialogtest::SameBytes(config, want));
    }
}

}  // namespace
