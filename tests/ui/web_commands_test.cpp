// The web and settings commands of the main window over a real manager: the refusals while a
// webcam runs, the records the settings commands change and write, the product pages, and the
// weather and map pages with the place dialog.
#include "ui/web/web_commands.h"

#include "platform/qt/gui_loop.h"
#include "tests/support/loopback_peer.h"
#include "tests/support/mjpeg_peer.h"
#include "tests/support/nginx_peer.h"
#include "tests/support/peers.h"
#include "tests/ui/commands_fixture.h"
#include "tests/ui/dialog_test_support.h"
#include "ui/dialogs/acdefopt.h"
#include "ui/dialogs/preferences.h"
#include "ui/dialogs/proxysetup.h"
#include "ui/web/checknew.h"
#include "ui/web/getlocation.h"
#include "ui/web/location_page.h"
#include "ui/editors/country_list.h"
#include "ui/viewer/viewer_texts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <chrono>
#include <cstdlib>

namespace commandstest {
namespace {

using dialogtest::Child;

class WebCommandsTest : public CommandsTest {
protected:
    void SetUp() override {
        CommandsTest::SetUp();
        web_ = std::make_unique<ui::WebCommands>(
            host_, ui::WebCommandsState{Starting, ShiftState, Config, Extra1, DiskMan, Ini, [this] { ++writes_; },
                                        [this] { ++pageStates_; }, [this] { ++motion_; }});
    }
    ui::OvlIni Ini;
    int writes_ = 0, pageStates_ = 0, motion_ = 0;
    std::unique_ptr<ui::WebCommands> web_;
};

TEST_F(WebCommandsTest, ListAndProxyCommandsRefuseWhileAWebcamRuns) {
    MakeManagerWith({"One"});
    manager_->StartWebcam(1);
    web_->Downloadwebcamlist1Click();
    web_->Createwebcamfromwebcamlist1Click();
    web_->ProxySetup1Click();
    EXPECT_EQ(host_.prompts, (QStringList{Said(65225), Said(65228), Said(65222)}));
    EXPECT_EQ(host_.calls, QStringList{});
    EXPECT_EQ(writes_, 0);
}

TEST_F(WebCommandsTest, ProxyOnOkWritesTheRecordsAndAsksForARestart) {
    MakeManager();
    ui::Tproxysetup& dialog = ui::proxysetup();
    dialogtest::WhenShown(dialog, [&] {
        Child<QCheckBox>(dialog, "CheckBox1").setChecked(true);
        Child<QLineEdit>(dialog, "Edit1").setText("proxy.lan");
        Child<QLineEdit>(dialog, "Edit2").setText("3128");
        Child<QLineEdit>(dialog, "Edit3").setText("me");
        dialogtest::Click(dialog, "OKBtn");
    });
    web_->ProxySetup1Click();
    EXPECT_EQ(Config.UseProxy, 1);
    EXPECT_EQ(Config.ProxyHost.str(), "proxy.lan");
    EXPECT_EQ(Config.ProxyPort, 3128);
    EXPECT_EQ(Extra1.ProxyUser.str(), "me");
    EXPECT_EQ(writes_, 1);
    EXPECT_EQ(host_.prompts, QStringList{Said(65223)});

    dialogtest::WhenShown(dialog, [&] { dialogtest::Click(dialog, "CancelBtn"); });
    web_->ProxySetup1Click();
    EXPECT_EQ(writes_, 1);
    EXPECT_EQ(host_.prompts.size(), 1);
}

TEST_F(WebCommandsTest, PreferencesAreWrittenWhateverTheDialogReturns) {
    ui::TPreferences& dialog = ui::preferences();
    dialogtest::WhenShown(dialog, [&] { dialogtest::Click(dialog, "CancelBtn"); });
    web_->Preferences1Click();
    EXPECT_EQ(pageStates_, 1);
    EXPECT_EQ(writes_, 1);
    dialogtest::MessageBoxAnswerer boxes;  // the restart notice of OK
    dialogtest::WhenShown(dialog, [&] {
        Child<QCheckBox>(dialog, "CheckBox1").setChecked(DiskMan.TrayIcon == 0);
        dialogtest::Click(dialog, "OKBtn");
    });
    const std::uint8_t tray = DiskMan.TrayIcon;
    web_->Preferences1Click();
    EXPECT_NE(DiskMan.TrayIcon, tray);
    EXPECT_EQ(writes_, 2);
}

TEST_F(WebCommandsTest, AutomaticCreationChangesTheRecordsWithoutWritingThem) {
    ui::Tacdefopt& dialog = ui::acdefopt();
    dialogtest::WhenShown(dialog, [&] {
        Child<QLineEdit>(dialog, "Edit6").setText("120");
        Child<QCheckBox>(dialog, "CheckBox1").setChecked(true);
        Child<QCheckBox>(dialog, "CheckBox2").setChecked(true);
        Child<QCheckBox>(dialog, "CheckBox3").setChecked(true);
        Child<QCheckBox>(dialog, "CheckBox4").setChecked(false);
        dialogtest::Click(dialog, "Button1");  // the global motion settings
        dialogtest::Click(dialog, "OKBtn");
    });
    web_->AutoCreatePreferences1Click();
    EXPECT_EQ(Extra1.AutoRefresh, 120);
    EXPECT_EQ(Extra1.AutoStart, 1);
    EXPECT_EQ(Extra1.OneWordNames, 1);
    EXPECT_EQ(DiskMan.OneWordPrefix, 1);
    EXPECT_EQ(DiskMan.NoIfModifiedSince, 1);
    EXPECT_EQ(motion_, 1);
    EXPECT_EQ(writes_, 0);
}

TEST_F(WebCommandsTest, ProductPagesOpenTheSiteOrTheBrandedHomePage) {
    web_->Contents1Click();
    web_->NewinVersion31Click();
    web_->BrowsetoOrvellohomepage1Click();
    Ini.AffHomePage = "https://partner.example/ovl";
    web_->BrowsetoOrvellohomepage1Click();
    Ini.AffHomePage = "file:///etc/passwd";  // never opened
    web_->BrowsetoOrvellohomepage1Click();
    EXPECT_EQ(host_.calls, (QStringList{"OpenUrl http://www.orvello.example/help30/index.htm",
                                        "OpenUrl http://www.orvello.example/newv3.html",
                                        "OpenUrl http://www.orvello.example/", "OpenUrl https://partner.example/ovl"}));
}

TEST(LocationPageUrl, FillsTheFirstPlaceholdersAndJoinsWordsWithPlus) {
    struct Case {
        QString base, queryTemplate, place, country, url;
    };
    const std::vector<Case> cases = {
        {"http://w/f", "?query=$P+$C", "New York", "USA", "http://w/f?query=New+York+USA"},
        {"http://w/f", "?a=$P&b=$P", "Paris", "", "http://w/f?a=Paris&b=$P"},
        {"http://m/", "?c=$C&p=$P", "Le Havre", "France", "http://m/?c=France&p=Le+Havre"},
        {"http://m/", "?p=$P", "x $C y", "Chine", "http://m/?p=x+Chine+y"},  // $C found after the place went in
        {"http://m/", "static page", "Oslo", "Norvege", "http://m/static+page"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ui::LocationPageUrl(c.base, c.queryTemplate, c.place, c.country), c.url) << c.url.toStdString();
    // A place with letters beyond ASCII still makes a page the browser is given.
    EXPECT_TRUE(ui::IsWebLink(ui::LocationPageUrl("http://w/f", "?q=$P", "Zürich", "")));
}

TEST(GuessCountry, FirstCountryOfTheListInTheDescription) {
    const QStringList countries = {"USA", "France ", "Polynesie francaise", "Inde"};
    EXPECT_EQ(ui::GuessCountry("Tour Eiffel, PARIS, France", countries), 1);  // trailing blank ignored
    EXPECT_EQ(ui::GuessCountry("Papeete polynesie francaise", countries), 2);
    EXPECT_EQ(ui::GuessCountry("Inde et France", countries), 1);  // the first in list order wins
    EXPECT_EQ(ui::GuessCountry("New York usa", countries), 0);
    EXPECT_EQ(ui::GuessCountry("Mumbai", countries), -1);
    const QStringList& real = ui::CountryList();
    EXPECT_EQ(real[ui::GuessCountry("Mont Blanc (France)", real)], "France");
}

TEST_F(WebCommandsTest, WeatherAndMapOpenTheWebcamsOwnPageOrTheLookUp) {
    MakeManagerWith({"Own", "Zero", "Bad", "Placed"});
    auto setRec2 = [&](int i, auto change) {
        engine::TWebcamDef1Rec rec2 = Webcam(i).Rec2();
        change(rec2);
        Webcam(i).SetRecord2(rec2);
    };
    setRec2(1, [](auto& r) { r.WeatherURL = "http://meteo.example/own"; r.MapURL = "https://maps.example/own"; });
    setRec2(2, [](auto& r) { r.WeatherURL = "0"; r.PlaceName = "Le Havre"; r.Country = "France"; });
    setRec2(3, [](auto& r) { r.WeatherURL = "javascript:alert(1)"; r.MapURL = "file:///etc/passwd"; });
    setRec2(4, [](auto& r) { r.PlaceName = "Oslo"; r.Country = "Norvege"; });
    Extra1.WeatherURL = "http://weather.example/find";
    Extra1.WeatherQuery = "?query=$P+$C";
    Extra1.MapURL = "http://map.example/";
    Extra1.MapQuery = "?place=$P&country=$C";
    for (int i = 1; i <= 4; ++i) {
        host_.current = i;
        web_->BrowseWeatherInformation1Click();
        web_->ShowMapforcurrentwebcam1Click();
    }
    EXPECT_EQ(host_.calls, (QStringList{"OpenUrl http://meteo.example/own", "OpenUrl https://maps.example/own",
                                        "OpenUrl http://weather.example/find?query=Le+Havre+France",
                                        "OpenUrl http://map.example/?place=Le+Havre&country=France",
                                        "OpenUrl http://weather.example/find?query=Oslo+Norvege",
                                        "OpenUrl http://map.example/?place=Oslo&country=Norvege"}));
    host_.current = 0;
    web_->ShowMapforcurrentwebcam1Click();
    EXPECT_EQ(host_.prompts, QStringList{Said(65257)});
}

TEST_F(WebCommandsTest, WeatherWithoutAPlaceAsksItGuessesTheCountryAndStoresIt) {
    MakeManagerWith({"Harbour"});
    engine::TWebcamDefRec rec = Webcam(1).Rec();
    rec.Description = "Vieux port, Marseille France";
    Webcam(1).SetRecord(rec);
    Extra1.WeatherURL = "http://weather.example/find";
    Extra1.WeatherQuery = "?query=$P+$C";
    ui::Tgetlocation& dialog = ui::getlocation();
    dialogtest::WhenShown(dialog, [&] {
        EXPECT_EQ(Child<QLineEdit>(dialog, "Edit1").text(), "Vieux port, Marseille France");
        EXPECT_EQ(Child<QComboBox>(dialog, "ComboBox1").currentText(), "France");
        EXPECT_TRUE(Child<QLabel>(dialog, "Label4").isVisible());
        EXPECT_EQ(Child<QPushButton>(dialog, "OKBtn").text(), Text(65185) + " " + Text(65117));
        Child<QLineEdit>(dialog, "Edit10").setText("Marseille, Vieux port");
        dialogtest::SaveScreenshot(dialog, "getlocation");
        dialogtest::Click(dialog, "OKBtn");
    });
    web_->BrowseWeatherInformation1Click();
    EXPECT_EQ(host_.calls, QStringList{"OpenUrl http://weather.example/find?query=Marseille+Vieux+port+France"});
    const engine::TWebcamDef1Rec stored = StoredRecord2(0);
    EXPECT_EQ(stored.PlaceName.str(), "Marseille Vieux port");
    EXPECT_EQ(stored.Country.str(), "France");

    // Cancelled, or confirmed without a place: no page.
    engine::TWebcamDef1Rec cleared = Webcam(1).Rec2();
    cleared.PlaceName = "";
    Webcam(1).SetRecord2(cleared);
    dialogtest::WhenShown(dialog, [&] { dialogtest::Click(dialog, "CancelBtn"); });
    web_->BrowseWeatherInformation1Click();
    dialogtest::WhenShown(dialog, [&] { dialogtest::Click(dialog, "OKBtn"); });
    web_->BrowseWeatherInformation1Click();
    EXPECT_EQ(host_.calls.size(), 1);
}

}  // namespace
}  // namespace commandstest

namespace commandstest {
namespace {

// The product's site is a local one for one test only, however it ends.
struct SiteScope {
    explicit SiteScope(const std::string& root) { setenv("ORVELLO_SITE_ROOT", root.c_str(), 1); }
    ~SiteScope() { unsetenv("ORVELLO_SITE_ROOT"); }
};

TEST_F(WebCommandsTest, VersionCheckWindowAsksTheSiteAndOffersTheDownloadsPage) {
    ORVELLO_NEED_PEER("nginx");
    testsupport::NginxPeer nginx(temp_.path() / "nginx");
    ASSERT_TRUE(nginx.Running());
    SiteScope site(nginx.Url("/"));
    platform::GuiEventBridge bridge;
    ui::Tchecknew& window = ui::checknew();
    testsupport::WriteFile(nginx.root() / "ovlver.txt", "20030225");
    web_->Checkfornewversion1Click();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(Child<QLabel>(window, "Label1").text(), Text(65194));
    EXPECT_FALSE(Child<QPushButton>(window, "Button1").isVisibleTo(&window));
    testsupport::WriteFile(nginx.root() / "ovlver.txt", "20040101 Orvello 3.1");
    web_->Checkfornewversion1Click();
    EXPECT_EQ(Child<QLabel>(window, "Label1").text(), Text(65193));
    EXPECT_EQ(Child<QLabel>(window, "Label2").text(), "20040101 Orvello 3.1");
    EXPECT_TRUE(Child<QPushButton>(window, "OKBtn").isEnabled());
    dialogtest::SaveScreenshot(window, "checknew");
    dialogtest::Click(window, "Button1");
    dialogtest::Click(window, "OKBtn");
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(host_.calls, QStringList{QString::fromStdString("OpenUrl " + nginx.Url("/ovldownloads.html"))});
}

TEST_F(WebCommandsTest, VersionCheckWindowSaysWhenTheCheckFailedAndWhy) {
    ORVELLO_NEED_PEER("nginx");
    testsupport::NginxPeer nginx(temp_.path() / "nginx");
    ASSERT_TRUE(nginx.Running());
    platform::GuiEventBridge bridge;
    ui::Tchecknew& window = ui::checknew();
    const std::string refused = "http://127.0.0.1:" + std::to_string(testsupport::ClosedLoopbackPort());
    struct Case {
        std::string site, versionFile;
        int label1;
        QString label2;  // empty: any reason, but one
    };
    const std::vector<Case> cases = {
        {nginx.Url("/"), "2004", 65195, {}},
        {nginx.Url("/"), "", 65195, {}},
        {nginx.Url("/"), "version 3", 65195, {}},
        {refused, "", 65195, {}},
        {nginx.Url("/"), "99999999\x01\x1b[1m" + std::string(2000, '\n') + "\x7f", 65193, "99999999[1m"},
        {nginx.Url("/"), "99999999" + std::string(120, 'Z'), 65193, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.site + " " + c.versionFile.substr(0, 12));
        testsupport::WriteFile(nginx.root() / "ovlver.txt", c.versionFile);
        SiteScope site(c.site);
        web_->Checkfornewversion1Click();
        EXPECT_EQ(Child<QLabel>(window, "Label1").text(), Text(c.label1));
        const QString label2 = Child<QLabel>(window, "Label2").text();
        if (c.label2.isEmpty()) EXPECT_NE(label2, "");
        else EXPECT_EQ(label2, c.label2);
        // Each line within the label: a word longer than the label is cut, not clipped.
        const QLabel& shown = Child<QLabel>(window, "Label2");
        for (const QString& line : label2.split(u'\n'))
            EXPECT_LE(shown.fontMetrics().horizontalAdvance(line), shown.contentsRect().width()) << line.toStdString();
        EXPECT_TRUE(Child<QPushButton>(window, "OKBtn").isEnabled());
        EXPECT_LE(window.height(), window.screen()->availableGeometry().height());
    }
    window.close();
}

TEST_F(WebCommandsTest, ClosingTheVersionWindowEndsACheckTheSiteNeverAnswers) {
    testsupport::MjpegPeer::Reply silent;  // reads the request and never answers
    silent.end = testsupport::MjpegPeer::End::Stall;
    testsupport::MjpegPeer peer({silent});
    SiteScope site(peer.Url("/"));
    platform::GuiEventBridge bridge;
    ui::Tchecknew& window = ui::checknew();
    std::chrono::steady_clock::time_point closedAt;
    dialogtest::WhenTrue([&] { return !peer.Visits().empty(); }, [&] {
        EXPECT_TRUE(window.isVisible());
        closedAt = std::chrono::steady_clock::now();
        window.close();
    });
    web_->Checkfornewversion1Click();
    // The version request's own quiet limit is 30 s; the close ends it at once.
    EXPECT_LT(std::chrono::steady_clock::now() - closedAt, std::chrono::seconds(5));
    EXPECT_FALSE(window.isVisible());
    ASSERT_TRUE(peer.WaitEnded(1));
}

}  // namespace
}  // namespace commandstest
