#include "ui/filters/view_filter.h"

#include <cmath>

#include "engine/webcam.h"
#include "engine/webcam_manager.h"

namespace ui {
namespace {

// The age bound of a time filter, in minutes.
double AgeBoundMinutes(int item) {
    switch (item) {
        case kFilter5Minutes: return 5;
        case kFilter15Minutes: return 15;
        case kFilterHour: return 60;
        case kFilterDay: return 1440;
        default: return 7 * 1440;
    }
}

// Day counts near today carry about a microsecond of rounding, so ages are compared in whole
// milliseconds: a picture exactly five minutes old is five minutes old.
long long WholeMilliseconds(platform::TDateTime days) {
    return std::llround(days * platform::kMillisecondsPerDay);
}

}  // namespace

QStringList ViewFilterCaptions() {
    return {QStringLiteral("Toutes les WebCams"), QStringLiteral("Mes Favoris"), QStringLiteral("Webcams actives"),
            QStringLiteral("depuis 5 min"),       QStringLiteral("depuis 15 min"), QStringLiteral("depuis 1 heure"),
            QStringLiteral("depuis hier"),        QStringLiteral("depuis1 semaine"), QStringLiteral("Camera active"),
            QStringLiteral("Camera selectionnee"), QStringLiteral("Camera Video live")};
}

bool IsTimeFilter(int item) { return item >= kFilter5Minutes && item <= kFilterWeek; }

FilterWebcam FilterWebcamOf(const engine::twebcam& webcam) {
    FilterWebcam w;
    w.running = webcam.FRunning;
    w.enabled = webcam.Enabled();
    w.favourite = webcam.Favourite();
    w.selected = webcam.FSelected;
    w.webcamType = webcam.GetWebcamType();
    w.lastNewPicture = webcam.FLastNewPicture;
    w.lastModified = webcam.FLastModified;
    w.serverDate = webcam.FServerDate;
    return w;
}

platform::TDateTime PictureAge(const FilterWebcam& webcam, platform::TDateTime now) {
    platform::TDateTime age = now - webcam.lastNewPicture;
    if (webcam.lastModified != 0 && webcam.serverDate != 0) age += webcam.serverDate - webcam.lastModified;
    return age;
}

bool PassesViewFilter(int item, const FilterWebcam& webcam, platform::TDateTime now) {
    switch (item) {
        case kFilterAll: return true;
        case kFilterFavourites: return webcam.favourite;
        case kFilterRunning: return webcam.running;
        case kFilterEnabled: return webcam.enabled;
        case kFilterSelected: return webcam.selected;
        case kFilterStreaming: return webcam.webcamType == 2;
        default:
            return IsTimeFilter(item) && WholeMilliseconds(PictureAge(webcam, now)) <
                                             WholeMilliseconds(platform::DaysFromMinutes(AgeBoundMinutes(item)));
    }
}

int FillDisplayMap(engine::twebcammanager& manager, int item, platform::TDateTime now) {
    manager.ClearDisplaySlots();
    int cell = 0;
    for (int i = 1; i <= manager.Count(); ++i) {
        const engine::twebcam* webcam = manager.GetWebcam(i);
        if (webcam && PassesViewFilter(item, FilterWebcamOf(*webcam), now)) manager.SetDisplaySlot(i, cell++);
    }
    return cell;
}

}  // namespace ui
