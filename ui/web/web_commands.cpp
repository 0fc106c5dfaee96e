#include "ui/web/web_commands.h"

#include "engine/webcam.h"
#include "engine/webcam_manager.h"
#include "platform/program_dir.h"
#include "ui/commands/command_messages.h"
#include "ui/commands/command_scopes.h"
#include "ui/dialogs/acdefopt.h"
#include "ui/dialogs/dialog_controls.h"
#include "ui/dialogs/preferences.h"
#include "ui/dialogs/proxysetup.h"
#include "ui/dialogs/record_text.h"
#include "ui/viewer/viewer_texts.h"
#include "ui/web/checknew.h"
#include "ui/web/getlocation.h"
#include "ui/web/list_entry.h"
#include "ui/web/location_page.h"
#include "ui/web/product_site.h"
#include "ui/web/wclistdownload.h"
#include "ui/web/wclistman.h"

namespace ui {
namespace {

constexpr int kMsgHelpPage = 65093;
constexpr int kMsgHomePage = 65094;
constexpr int kMsgNewsPage = 65096;
constexpr int kMsgWeather = 65117;
constexpr int kMsgMap = 65118;
constexpr int kMsgStopBeforeProxy = 65222;
constexpr int kMsgRestart = 65223;
constexpr int kMsgStopBeforeDownload = 65225;
constexpr int kMsgStopBeforeAddingFromList = 65228;

bool AnyRunning(engine::twebcammanager* manager) { return manager && manager->RunningCount() >= 1; }

}  // namespace

// What differs between the weather and the map command.
struct WebCommands::LocationFields {
    engine::String255 engine::TWebcamDef1Rec::*own;  // the webcam's own page
    engine::String255 engine::TExtra1Rec::*base;     // the look-up service
    engine::String255 engine::TExtra1Rec::*query;    // its query template
    int title;
};

WebCommands::WebCommands(WebcamCommandsHost& host, WebCommandsState state)
    : host_(host), state_(std::move(state)) {}

VersionAnswer WebCommands::CheckNewVersion(const std::function<bool()>& cancelled) {
    return ui::CheckNewVersion(VersionFileUrl(), ProxyOf(state_.Config, state_.Extra1), cancelled);
}

void WebCommands::Checkfornewversion1Click() {
    checknew().Check([this](const std::function<bool()>& cancelled) { return CheckNewVersion(cancelled); },
                     [this] { OpenWebPage(QString::fromStdString(DownloadPageUrl())); });
}

void WebCommands::Downloadwebcamlist1Click() {
    if (AnyRunning(host_.WebcamManager())) {
        host_.Message(Message(kMsgStopBeforeDownload));
        return;
    }
    ListDownloadServices services;
    services.checkNewVersion = [this](const std::function<bool()>& cancelled) { return CheckNewVersion(cancelled); };
    services.openHomePage = [this] { BrowsetoOrvellohomepage1Click(); };
    services.createFromList = [this] { Createwebcamfromwebcamlist1Click(); };
    services.listSaved = [this](const std::string& path) {
        state_.Config.ListFile = ToRecord(QString::fromStdString(path));
    };
    services.proxy = ProxyOf(state_.Config, state_.Extra1);
    services.programFolder = platform::ProgramFolder();
    wclistdownload().Execute(state_.Ini.AffWebcamList, std::move(services));
}

void WebCommands::Createwebcamfromwebcamlist1Click() {
    engine::twebcammanager* manager = host_.WebcamManager();
    if (!manager) return;
    if (AnyRunning(manager)) {
        host_.Message(Message(kMsgStopBeforeAddingFromList));
        return;
    }
    if (state_.RememberDiskPageState) state_.RememberDiskPageState();
    const AutoCreateSettings settings{state_.Extra1, state_.DiskMan};
    bool added = false;
    {
        // The manager must outlive the dialog's adding loop, which processes messages.
        FlagScope starting(state_.Starting);
        added = wclistman().Execute(*manager, state_.Config, settings, [this] { AutoCreatePreferences1Click(); },
                                    platform::ProgramFolder());
    }
    if (!added) return;
    host_.UpdateGridRows();
    host_.RepaintGrid();
    host_.ShowWebcam(1);
    host_.MarkCurrentWebcam(host_.CurrentWebcam());
}

void WebCommands::ProxySetup1Click() {
    if (AnyRunning(host_.WebcamManager())) {
        host_.Message(Message(kMsgStopBeforeProxy));
        return;
    }
    if (!proxysetup().Execute(state_.Config, state_.Extra1)) return;
    if (state_.WriteExtra12) state_.WriteExtra12();
    host_.Message(Message(kMsgRestart));
}

void WebCommands::Preferences1Click() {
    if (state_.RememberDiskPageState) state_.RememberDiskPageState();
    preferences().Execute(state_.Config, state_.Extra1, state_.DiskMan);
    if (state_.WriteExtra12) state_.WriteExtra12();
}

// The records are saved at shutdown with the others.
void WebCommands::AutoCreatePreferences1Click() {
    engine::TExtra1Rec& extra1 = state_.Extra1;
    engine::TDiskManRec& diskMan = state_.DiskMan;
    acdefopt().Execute(extra1.AutoRefresh, extra1.AutoStart, diskMan.NoIfModifiedSince, diskMan.OneWordPrefix,
                       extra1.OneWordNames, extra1.AutoSaveMode, state_.EditGlobalMotionSettings);
}

void WebCommands::Contents1Click() { OpenWebPage(Message(kMsgHelpPage)); }

void WebCommands::NewinVersion31Click() { OpenWebPage(Message(kMsgNewsPage)); }

void WebCommands::BrowsetoOrvellohomepage1Click() {
    const std::string& own = state_.Ini.AffHomePage;
    OpenWebPage(own.empty() ? Message(kMsgHomePage) : FromRecord(own));
}

void WebCommands::BrowseWeatherInformation1Click() {
    BrowseLocation({&engine::TWebcamDef1Rec::WeatherURL, &engine::TExtra1Rec::WeatherURL,
                    &engine::TExtra1Rec::WeatherQuery, kMsgWeather});
}

void WebCommands::ShowMapforcurrentwebcam1Click() {
    BrowseLocation({&engine::TWebcamDef1Rec::MapURL, &engine::TExtra1Rec::MapURL, &engine::TExtra1Rec::MapQuery,
                    kMsgMap});
}

void WebCommands::BrowseLocation(const LocationFields& fields) {
    state_.ShiftState = 0;
    engine::twebcammanager* manager = host_.WebcamManager();
    const int current = host_.CurrentWebcam();
    if (!manager || current < 1 || current > manager->Count() || !manager->GetWebcam(current)) {
        host_.Message(Message(kMsgNoWebcamSelected));
        return;
    }
    engine::twebcam& webcam = *manager->GetWebcam(current);
    engine::TWebcamDef1Rec rec2 = webcam.Rec2();
    const std::string_view own = (rec2.*fields.own).view();
    if (!own.empty() && own != "0") {
        OpenWebPage(FromRecord(own));
        return;
    }
    if (rec2.PlaceName.empty()) {
        if (!getlocation().Execute(webcam, Message(fields.title))) return;
        rec2 = webcam.Rec2();
    }
    OpenLocationPage(FromRecord((state_.Extra1.*fields.base).view()), FromRecord((state_.Extra1.*fields.query).view()),
                     FromRecord(rec2.PlaceName.view()), FromRecord(rec2.Country.view()));
}

void WebCommands::OpenLocationPage(const QString& base, const QString& queryTemplate, const QString& place,
                                   const QString& country) {
    OpenWebPage(LocationPageUrl(base, queryTemplate, place, country));
}

void WebCommands::OpenWebPage(const QString& url) {
    if (IsWebLink(url)) host_.OpenUrl(url);
}

}  // namespace ui
