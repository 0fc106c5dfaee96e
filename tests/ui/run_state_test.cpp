#include "ui/grid/run_state.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace {

class RecordingView : public ui::RunStateView {
public:
    void SetStopAllImage(int imageIndex) override { calls << QStringLiteral("image %1").arg(imageIndex); }
    void SetTrayIconEnabled(bool enabled) override { calls << (enabled ? "tray on" : "tray off"); }
    void ResetCursor() override { calls << "cursor"; }
    void SetStatusText(const QString& text) override { calls << "status " + text; }
    void SetThumbnailButtonCaption(const QString& caption) override { calls << "button " + caption; }
    void ApplyDiskThumbnailSwitch() override { calls << "disk thumbnails"; }
    QStringList calls;
};

TEST(SetRunState, CodesFlagsResultsAndDisplay) {
    struct Case {
        int code;
        bool runningBefore, trayIcon;
        bool result;
        ui::RunStateFlags after;
        QStringList calls;
    };
    const QStringList idle{"image 1", "tray off", "cursor", "status Prêt"};
    const QStringList idleNoTray{"image 1", "cursor", "status Prêt"};
    for (const Case& c : {
             Case{4, false, true, true, {false, true, false, false}, {"image 0", "tray on"}},
             Case{5, true, true, false, {true, false, false, false}, idle},
             Case{12, false, false, true, {false, false, true, false}, QStringList{"button Stop"} + idleNoTray},
             Case{12, true, false, true, {false, true, true, false}, {"button Stop", "image 0"}},
             Case{13, false, true, false, {true, false, false, false},
                  QStringList{"button Afficher", "disk thumbnails"} + idle},
             Case{14, true, true, true, {false, true, false, true}, {"image 0", "tray on"}},
             Case{15, false, false, false, {true, false, false, false}, idleNoTray},
             Case{18, false, true, true, {true, false, false, false}, {}},
             Case{18, true, false, true, {true, true, false, false}, {"image 0"}},
             Case{99, false, false, false, {true, false, false, false}, idleNoTray},
         }) {
        ui::RunStateFlags flags{true, c.runningBefore, c.code == 13, c.code == 15};
        RecordingView view;
        EXPECT_EQ(ui::SetRunState(c.code, flags, view, c.trayIcon), c.result) << c.code;
        EXPECT_EQ(flags.StopRequested, c.after.StopRequested) << c.code;
        EXPECT_EQ(flags.Running, c.after.Running) << c.code;
        EXPECT_EQ(flags.ThumbnailsBuilding, c.after.ThumbnailsBuilding) << c.code;
        EXPECT_EQ(flags.PictureWorkBusy, c.after.PictureWorkBusy) << c.code;
        EXPECT_EQ(view.calls, c.calls) << c.code;
    }
}

}  // namespace
