#pragma once
// The commands on webcams against a real webcam manager on a temporary data folder: fetch
// threads that never fetch, and a main window that records every prompt, dialog and redraw and
// answers the questions from a script.

#include "engine/settings_records.h"
#include "engine/webcam.h"
#include "engine/webcam_manager.h"
#include "tests/support/temp_dir.h"
#include "ui/commands/webcam_commands.h"

#include <QStringList>

#include <array>
#include <ostream>
#include <deque>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>

// Prompts and calls shown as text when a test fails.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace commandstest {

class FakeHost : public ui::WebcamCommandsHost {
public:
    engine::twebcammanager* WebcamManager() override { return manager; }
    int CurrentWebcam() const override { return current; }
    QWidget* Window() override { return nullptr; }

    void Message(const QString& text) override { prompts << QStringLiteral("message: ") + text; }
    bool Ask(const QString& text) override;
    QString SaveFileName(const QString& filter) override;
    void OpenUrl(const QString& url) override { Call(QStringLiteral("OpenUrl ") + url); }
    void SetHourglass(bool on) override { Call(on ? "hourglass" : "default cursor"); }
    void ShowWaitForm(bool shown) override { Call(shown ? "wait form shown" : "wait form hidden"); }

    bool EditWebcam(engine::TWebcamDefRec& rec, engine::TWebcamDef1Rec& rec2, bool isNew, const std::string& dataFolder,
                    ui::HeaderLines& headerLines) override;
    bool EditCategories(engine::TWebcamDefRec& rec) override;
    bool EditSaverList(const std::string& dataFolder, std::vector<ui::SaverListChange>& changes) override;
    bool ChangeRefresh(std::int32_t& seconds, std::uint8_t& ifModifiedSince) override;
    bool SelectSave(int& mode) override;
    bool GlobalSave(std::uint8_t& mode, std::uint8_t& on) override;
    bool FavouritePreferences(engine::TConfigRec& config) override;
    bool SelectWebcam(int& index) override;
    bool SelectEnabled(int& which, int& append) override;
    void ShowTextFile(const std::string& fileName, const QString& caption) override;
    void EditMotionSettings(int webcam, bool global, std::array<int, 6>& settings) override;
    void CreateWebcamsFromList() override { Call("CreateWebcamsFromList"); }

    void SetRunState(int code) override { Call(QStringLiteral("SetRunState %1").arg(code)); }
    void ShowWebcam(int webcam) override;
    void MarkCurrentWebcam(int webcam) override { Call(QStringLiteral("MarkCurrentWebcam %1").arg(webcam)); }
    void UpdateGridRows() override { Call("UpdateGridRows"); }
    void RepaintGrid() override { Call("RepaintGrid"); }
    void RedrawWebcamCell(int webcam) override { Call(QStringLiteral("RedrawWebcamCell %1").arg(webcam)); }
    void ApplyViewFilter() override { Call("ApplyViewFilter"); }
    void ShowFavourites() override { Call("ShowFavourites"); }
    void UpdateStatusGauges() override { Call("UpdateStatusGauges"); }
    void ShowWebcamInfo() override { Call("ShowWebcamInfo"); }
    void UpdateTrayHint() override { Call("UpdateTrayHint"); }
    void SetGlobalSaveText(const QString& text) override { Call(QStringLiteral("Edit3 ") + text); }
    void SetMotionGaugePoints(int point) override { Call(QStringLiteral("gauge points %1").arg(point)); }
    bool ToggleSlowScanMark() override;

    engine::twebcammanager* manager = nullptr;
    int current = 1;
    bool slowScanMark = false;

    // Answers of the questions in order; a question without one is answered No.
    std::deque<bool> answers;
    // What the dialogs do; a dialog without one is cancelled.
    std::function<bool(engine::TWebcamDefRec&, engine::TWebcamDef1Rec&, ui::HeaderLines&)> editWebcam;
    std::function<bool(engine::TWebcamDefRec&)> editCategories;
    std::function<bool(const std::string&, std::vector<ui::SaverListChange>&)> editSaverList;
    std::function<bool(std::int32_t&, std::uint8_t&)> changeRefresh;
    std::function<bool(int&)> selectSave;
    std::function<bool(std::uint8_t&, std::uint8_t&)> globalSave;
    std::function<bool(int&)> selectWebcam;
    std::function<bool(int&, int&)> selectEnabled;
    std::function<void(std::array<int, 6>&)> editMotion;
    QString saveFileName;

    QStringList prompts;  // "message: ..." and "ask: ..." in order
    QStringList calls;    // the dialogs and the window's operations, in order

private:
    void Call(const QString& what) { calls << what; }
};

// A fixture with the main form's state, the host and the commands, and a manager made on
// demand.
class CommandsTest : public testsupport::IsolatedTest {
protected:
    void SetUp() override;
    void TearDown() override;

    void MakeManager();
    // A manager with still webcams of these names.
    void MakeManagerWith(std::initializer_list<const char*> names);
    // A still webcam whose records are written at its number, as a new webcam's are.
    engine::twebcam& Add(const std::string& name);
    engine::twebcam& Webcam(int i) { return *manager_->GetWebcam(i); }
    std::string DataFolder() const { return dataDir().string() + "/"; }
    // Record 1 and 2 of record number n as the files hold them.
    engine::TWebcamDefRec StoredRecord(int n) const;
    engine::TWebcamDef1Rec StoredRecord2(int n) const;
    // The names of the webcams in the manager, in order.
    std::vector<std::string> Names() const;

    // The form's state.
    bool Starting = false;
    bool Stopping = false;
    bool StopRequested = false;
    ui::TShiftState ShiftState = 0;
    engine::TConfigRec Config{};
    engine::TExtraRec Extra{};
    engine::TExtra1Rec Extra1{};
    engine::TDiskManRec DiskMan{};
    std::array<int, 6> MotionSettings{4, 5, 13, 0, 0, 0};

    FakeHost host_;
    std::unique_ptr<ui::WebcamCommands> commands_;
    std::unique_ptr<engine::twebcammanager> manager_;
};

// The message-table text of a number, as the prompts record it.
QString Text(int number);
QString Said(int number);   // "message: " + the text
QString Asked(int number);  // "ask: " + the text

}  // namespace commandstest
