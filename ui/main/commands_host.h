#pragma once
// The main window as the commands on webcams see it: its prompts, the dialogs each command
// opens (one instance of each, made on first use) and the window's own operations.
// Main thread only.

#include "ui/commands/webcam_commands_host.h"

namespace ui {

class Tsupamain;

class MainCommandsHost : public WebcamCommandsHost {
public:
    explicit MainCommandsHost(Tsupamain& form) : form_(form) {}

    engine::twebcammanager* WebcamManager() override;
    int CurrentWebcam() const override;
    QWidget* Window() override;

    void Message(const QString& text) override;
    bool Ask(const QString& text) override;
    QString SaveFileName(const QString& filter) override;
    void OpenUrl(const QString& url) override;
    void SetHourglass(bool on) override;
    void ShowWaitForm(bool shown) override;

    bool EditWebcam(engine::TWebcamDefRec& rec, engine::TWebcamDef1Rec& rec2, bool isNew,
                    const std::string& dataFolder, HeaderLines& headerLines) override;
    bool EditCategories(engine::TWebcamDefRec& rec) override;
    bool EditSaverList(const std::string& dataFolder, std::vector<SaverListChange>& changes) override;
    bool ChangeRefresh(std::int32_t& seconds, std::uint8_t& ifModifiedSince) override;
    bool SelectSave(int& mode) override;
    bool GlobalSave(std::uint8_t& mode, std::uint8_t& on) override;
    bool FavouritePreferences(engine::TConfigRec& config) override;
    bool SelectWebcam(int& index) override;
    bool SelectEnabled(int& which, int& append) override;
    void ShowTextFile(const std::string& fileName, const QString& caption) override;
    void EditMotionSettings(int webcam, bool global, std::array<int, 6>& settings) override;
    void CreateWebcamsFromList() override;

    void SetRunState(int code) override;
    void ShowWebcam(int webcam) override;
    void MarkCurrentWebcam(int webcam) override;
    void UpdateGridRows() override;
    void RepaintGrid() override;
    void RedrawWebcamCell(int webcam) override;
    void ApplyViewFilter() override;
    void ShowFavourites() override;
    void UpdateStatusGauges() override;
    void ShowWebcamInfo() override;
    void UpdateTrayHint() override;
    void SetGlobalSaveText(const QString& text) override;
    void SetMotionGaugePoints(int point) override;
    bool ToggleSlowScanMark() override;
    void SaveQuickBarButtons() override;
    void ReloadQuickBarButtons() override;
    void ForgetQuickBarButtons() override;

private:
    Tsupamain& form_;
};

}  // namespace ui
