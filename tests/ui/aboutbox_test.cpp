#include "ui/dialogs/aboutbox.h"

#include "tests/ui/dialog_test_support.h"

#include <QLabel>

namespace {

using dialogtest::Child;

TEST(TAboutBox, ShowsTheProductNameWithTheBrandingTitle) {
    // In this order, so that a title shown once does not stay for the next showing.
    const std::vector<std::pair<QString, QString>> cases = {
        {"", "Orvello v3.0"},
        {"Mes Caméras", "Orvello v3.0 - Mes Caméras"},
        {"Mes Caméras", "Orvello v3.0 - Mes Caméras"},
        {"", "Orvello v3.0"},
    };
    for (const auto& [title, shown] : cases) {
        ui::TAboutBox& dialog = ui::aboutbox();
        dialogtest::WhenShown(dialog, [&] {
            EXPECT_EQ(Child<QLabel>(dialog, "ProductName").text(), shown);
            dialogtest::SaveScreenshot(dialog, "aboutbox");
            dialogtest::Click(dialog, "OKBtn");
        });
        dialog.Execute(title);
    }
}

}  // namespace
