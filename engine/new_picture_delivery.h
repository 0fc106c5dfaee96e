#pragma once
// The new-picture steps of the fetch and stream threads, run on the main thread while the
// thread waits in Synchronize: the save decision for the webcam's picture, then, when there is
// something to report, the webcam's time of the newest picture and its picture callback.
// Errors inside the callback are swallowed, as every failure of the step is. Afterwards the
// webcam publishes what its workers may use for the next picture.

#include "engine/motion_settings.h"
#include "engine/settings_records.h"

#include <optional>
#include <string>
#include <string_view>

namespace engine {

class twebcam;
struct PreparedPicture;

// A still picture of a fetch turn, to be saved as pictureFileName (made when the turn began,
// with PictureFileName), or, when a picture of that second was saved already, under the first
// free name with hundredths. Returns the settings of a motion test that ran, which the main window
// keeps a copy of. prepared: what the worker did ahead for these bytes, or nullptr (all is done
// here); its thumbnail is offered to the manager.
std::optional<TMotionSettingsRec> DeliverStillPicture(twebcam& webcam, const TDiskManRec& diskman,
                                                       std::string_view buffer, const std::string& pictureFileName,
                                                       PreparedPicture* prepared = nullptr);

// A frame of a streaming webcam; a saved frame is named with the hundredths of the second.
std::optional<TMotionSettingsRec> DeliverStreamFrame(twebcam& webcam, const TDiskManRec& diskman,
                                                      std::string_view frame, PreparedPicture* prepared = nullptr);

}  // namespace engine
