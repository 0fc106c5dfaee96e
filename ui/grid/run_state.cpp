#include "ui/grid/run_state.h"

namespace ui {

bool SetRunState(int code, RunStateFlags& flags, RunStateView& view, bool trayIconOn) {
    switch (code) {
        case kRunWebcamsStarted:
            flags.StopRequested = false;
            flags.Running = true;
            break;
        case kRunWebcamsStopped: flags.Running = false; break;
        case kRunThumbnailsStarted:
            flags.StopRequested = false;
            flags.ThumbnailsBuilding = true;
            view.SetThumbnailButtonCaption(QStringLiteral("Stop"));
            break;
        case kRunThumbnailsEnded:
            view.SetThumbnailButtonCaption(QStringLiteral("Afficher"));
            flags.ThumbnailsBuilding = false;
            view.ApplyDiskThumbnailSwitch();
            break;
        case kRunPictureWorkStarted:
            flags.StopRequested = false;
            flags.PictureWorkBusy = true;
            break;
        case kRunPictureWorkEnded: flags.PictureWorkBusy = false; break;
        default: break;
    }
    if (!flags.Running) {
        if (code != kRunRefreshOnly) {
            view.SetStopAllImage(1);
            if (trayIconOn) view.SetTrayIconEnabled(false);
            view.ResetCursor();
            view.SetStatusText(QStringLiteral("Prêt"));
        }
    } else {
        view.SetStopAllImage(0);
        if (trayIconOn) view.SetTrayIconEnabled(true);
    }
    return code == kRunWebcamsStarted || code == kRunThumbnailsStarted || code == kRunPictureWorkStarted ||
           code == kRunRefreshOnly;
}

}  // namespace ui
