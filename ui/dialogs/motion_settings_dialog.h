#pragma once
// The motion-detection settings dialog: edits either the global settings (stored as
// "MOTIONSETTINGS") or the current webcam's overrides in its record 2. One instance, made on
// first use by motionsettings().

#include "engine/motion_settings.h"
#include "engine/webcam_records.h"

#include <QDialog>

#include <optional>

class QLabel;
class QPushButton;
class QRadioButton;
class QSlider;

namespace ui {

// The webcams whose record 2 the dialog reads and stores, by 1-based number (the main window's
// webcam manager).
class MotionWebcamRecords {
public:
    virtual ~MotionWebcamRecords() = default;
    // Nothing when there is no such webcam.
    virtual std::optional<engine::TWebcamDef1Rec> GetRecord2(int webcamNo) const = 0;
    // Stores the record and rewrites it in webcams1.def.
    virtual void SetRecord2(int webcamNo, const engine::TWebcamDef1Rec& rec2) = 0;
};

class Tmotionsettings : public QDialog {
    Q_OBJECT
public:
    explicit Tmotionsettings(QWidget* parent = nullptr);

    // The webcams of the main window; without them only the global settings can be edited.
    void SetWebcamRecords(MotionWebcamRecords* webcams) { FWebcams = webcams; }

    // The settings in effect for the webcam (1-based; below 1, or GlobalOnly: the global ones).
    void LoadSettings(int WebcamNo, bool GlobalOnly, engine::TMotionSettingsRec& Rec) const;

    // Shows the dialog modally. On OK the three values are stored, globally or as the webcam's
    // overrides; Rec receives the settings shown when the dialog closes, also on Cancel.
    void EditSettings(int WebcamNo, bool GlobalOnly, engine::TMotionSettingsRec& Rec);

public slots:
    void Button1Click();        // "Restaurer"
    void RadioButton1Click();   // bound to both radio buttons

private:
    void ShowSettings(const engine::TMotionSettingsRec& settings);
    void Store();
    std::optional<engine::TWebcamDef1Rec> Record2(int webcamNo) const;

    MotionWebcamRecords* FWebcams = nullptr;
    engine::TMotionSettingsRec FSettings;
    bool FGlobal = true;
    int FWebcamNo = 0;

    QSlider* TrackBar1;
    QSlider* TrackBar2;
    QSlider* TrackBar3;
    QRadioButton* RadioButton1;
    QRadioButton* RadioButton2;
    QPushButton* Button1;
};

Tmotionsettings& motionsettings();

}  // namespace ui
