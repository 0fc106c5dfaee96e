#pragma once
// The main window's commands that reach the web site or the browser, and the settings commands
// that belong to them: the version check, the list download and the list manager, the proxy,
// preferences and automatic-creation settings, the product pages and the weather and map pages
// of the current webcam. The commands that change the webcam list or the proxy refuse while any
// webcam runs.
//
// Main thread only. The requests run on it with the window kept alive (see web_fetch.h).

#include "engine/settings_records.h"
#include "ui/commands/webcam_commands_host.h"
#include "ui/controls/shift_state.h"
#include "ui/main/ovl_ini.h"
#include "ui/web/version_check.h"

#include <QString>

#include <functional>
#include <string>

namespace ui {

// The main form's fields and operations the commands use, bound to the form's own.
struct WebCommandsState {
    bool& Starting;  // held while webcams are added, so a close waits for the end
    TShiftState& ShiftState;
    engine::TConfigRec& Config;
    engine::TExtra1Rec& Extra1;
    engine::TDiskManRec& DiskMan;
    const OvlIni& Ini;
    std::function<void()> WriteExtra12;              // EXTRA1 and EXTRA2 into the settings store
    std::function<void()> RememberDiskPageState;     // the page state into DiskMan
    std::function<void()> EditGlobalMotionSettings;  // "Paramètres..." of the automatic creation
};

class WebCommands {
public:
    WebCommands(WebcamCommandsHost& host, WebCommandsState state);

    // What the version file says (see version_check.h); ends once cancelled() holds. Never
    // throws.
    VersionAnswer CheckNewVersion(const std::function<bool()>& cancelled);
    void Checkfornewversion1Click();

    void Downloadwebcamlist1Click();
    void Createwebcamfromwebcamlist1Click();

    void ProxySetup1Click();
    void Preferences1Click();
    void AutoCreatePreferences1Click();

    void Contents1Click();
    void NewinVersion31Click();
    void BrowsetoOrvellohomepage1Click();
    void BrowseWeatherInformation1Click();
    void ShowMapforcurrentwebcam1Click();

    // Opens base + the template filled with place and country, when that is a web address.
    void OpenLocationPage(const QString& base, const QString& queryTemplate, const QString& place,
                          const QString& country);

private:
    struct LocationFields;
    void BrowseLocation(const LocationFields& fields);
    // Opens url when it is http or https.
    void OpenWebPage(const QString& url);

    WebcamCommandsHost& host_;
    WebCommandsState state_;
};

}  // namespace ui
