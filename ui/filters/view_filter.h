#pragma once
// The eleven view filters of ComboBox1: which webcams the thumbnail grid shows. A filter fills the
// manager's display map in webcam order, so the grid shows the chosen webcams in list order
// without gaps. Main thread only.

#include <QStringList>

#include "platform/clock_datetime.h"

namespace engine {
class twebcam;
class twebcammanager;
}  // namespace engine

namespace ui {

// Item numbers of ComboBox1.
enum ViewFilterItem {
    kFilterAll = 0,
    kFilterFavourites = 1,
    kFilterRunning = 2,
    kFilter5Minutes = 3,
    kFilter15Minutes = 4,
    kFilterHour = 5,
    kFilterDay = 6,
    kFilterWeek = 7,
    kFilterEnabled = 8,
    kFilterSelected = 9,
    kFilterStreaming = 10,
};

// The captions of ComboBox1, in item order.
QStringList ViewFilterCaptions();

// Items 3..7 depend on the age of the pictures and are re-applied as time passes.
bool IsTimeFilter(int item);

// What a filter reads of one webcam.
struct FilterWebcam {
    bool running = false;
    bool enabled = false;
    bool favourite = false;
    bool selected = false;
    int webcamType = 0;  // 2 = streaming
    platform::TDateTime lastNewPicture = 0;  // local time; 0 = never
    platform::TDateTime lastModified = 0;    // the server's Last-Modified; 0 = unknown
    platform::TDateTime serverDate = 0;      // the server's Date of that answer; 0 = unknown
};

FilterWebcam FilterWebcamOf(const engine::twebcam& webcam);

// Age of the webcam's picture in days: since it arrived, plus how old the server said it was
// when both server dates are known.
platform::TDateTime PictureAge(const FilterWebcam& webcam, platform::TDateTime now);

// Whether a webcam passes filter item at local time now (an age equal to the bound fails). An
// unknown item passes nothing.
bool PassesViewFilter(int item, const FilterWebcam& webcam, platform::TDateTime now);

// ClearDisplaySlots, then cells 0, 1, 2... to the passing webcams in ascending order. Returns
// the number of cells used.
int FillDisplayMap(engine::twebcammanager& manager, int item, platform::TDateTime now);

}  // namespace ui
