#include "ui/dialogs/proxysetup.h"

#include "engine/messages.h"
#include "engine/regconfig.h"
#include "tests/ui/dialog_test_support.h"

#include <QCheckBox>
#include <QLineEdit>

#include <functional>

namespace {

using dialogtest::Child;

struct ProxyCase {
    const char* name;
    std::function<void(QWidget&)> edit;  // what the user does before closing
    const char* button;                  // "OKBtn" or "CancelBtn"
    bool result;
    std::function<void(engine::TConfigRec&, engine::TExtra1Rec&)> expect;  // applied to the input
    bool portMessage;
};

TEST(Tproxysetup, ShowsTheValuesAndWritesThemBackByTheRules) {
    const std::vector<ProxyCase> cases = {
        {"unchanged round trip keeps Windows-1252 text", [](QWidget&) {}, "OKBtn", true,
         [](engine::TConfigRec&, engine::TExtra1Rec&) {}, false},
        {"every field edited",
         [](QWidget& d) {
             Child<QCheckBox>(d, "CheckBox1").setChecked(false);
             Child<QLineEdit>(d, "Edit1").setText("proxy.example");
             Child<QLineEdit>(d, "Edit2").setText("3128");
             Child<QLineEdit>(d, "Edit3").setText("Zoé");
             Child<QLineEdit>(d, "Edit4").setText("geheim");
         },
         "OKBtn", true,
         [](engine::TConfigRec& c, engine::TExtra1Rec& e) {
             c.UseProxy = 0;
             c.ProxyHost = "proxy.example";
             c.ProxyPort = 3128;
             e.ProxyUser = "Zo\xE9";
             e.ProxyPassword = "geheim";
         },
         false},
        {"a port that is not a number keeps the port and writes the rest",
         [](QWidget& d) {
             Child<QLineEdit>(d, "Edit1").setText("other.example");
             Child<QLineEdit>(d, "Edit2").setText("80a");
         },
         "OKBtn", true, [](engine::TConfigRec& c, engine::TExtra1Rec&) { c.ProxyHost = "other.example"; }, true},
        {"a port beyond 32 bits is not a number",
         [](QWidget& d) { Child<QLineEdit>(d, "Edit2").setText("99999999999"); }, "OKBtn", true,
         [](engine::TConfigRec&, engine::TExtra1Rec&) {}, true},
        {"cancel changes nothing",
         [](QWidget& d) {
             Child<QLineEdit>(d, "Edit1").setText("ignored");
             Child<QLineEdit>(d, "Edit2").setText("1");
         },
         "CancelBtn", false, [](engine::TConfigRec&, engine::TExtra1Rec&) {}, false},
    };
    for (const ProxyCase& c : cases) {
        SCOPED_TRACE(c.name);
        engine::TConfigRec config = engine::DefaultConfig();
        engine::TExtra1Rec extra1 = engine::DefaultExtra1();
        config.ProxyHost = "cache.intra";
        config.ProxyPort = 8080;
        extra1.ProxyUser = "Andr\xE9";
        extra1.ProxyPassword = "pw";
        engine::TConfigRec wantConfig = config;
        engine::TExtra1Rec wantExtra1 = extra1;
        c.expect(wantConfig, wantExtra1);

        ui::Tproxysetup& dialog = ui::proxysetup();
        dialogtest::MessageBoxAnswerer answers;
        dialogtest::WhenShown(dialog, [&] {
            EXPECT_TRUE(Child<QCheckBox>(dialog, "CheckBox1").isChecked());
            EXPECT_EQ(Child<QLineEdit>(dialog, "Edit1").text(), "cache.intra");
            EXPECT_EQ(Child<QLineEdit>(dialog, "Edit2").text(), "8080");
            EXPECT_EQ(Child<QLineEdit>(dialog, "Edit3").text(), "André");
            EXPECT_EQ(Child<QLineEdit>(dialog, "Edit4").text(), "pw");
            dialogtest::SaveScreenshot(dialog, "proxysetup");
            c.edit(dialog);
            dialogtest::Click(dialog, c.button);
        });
        EXPECT_EQ(dialog.Execute(config, extra1), c.result);
        EXPECT_TRUE(dialogtest::SameBytes(config, wantConfig));
        EXPECT_TRUE(dialogtest::SameBytes(extra1, wantExtra1));
        const QStringList expectedMessages =
            c.portMessage ? QStringList{QString::fromStdString(engine::LoadMessage(65284))} : QStringList{};
        EXPECT_EQ(answers.texts(), expectedMessages);
    }
}

}  // namespace
