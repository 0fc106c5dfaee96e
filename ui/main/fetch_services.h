#pragma once
// The threads and the picture decoder the main window builds its webcam manager with.
//
// PLACEHOLDERS, to be replaced as the engine grows:
// - the fetch threads are tplaceholderfetchworker: they start and end with the manager and
//   otherwise only wait; they take no webcam and fetch nothing (the HTTP fetch thread replaces
//   them);
// - the stream threads are tplaceholderstreamworker, which wait the same way.
// Pictures are decoded by the JPEG layer (MakeJpegPicture).

#include "engine/webcam_manager.h"

namespace ui {

engine::WebcamManagerServices MainManagerServices();

}  // namespace ui
