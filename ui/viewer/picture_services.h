#pragma once
// The picture layer behind the viewer: JPEG pictures over libjpeg-turbo, the histogram stretch
// and the motion comparison of two files.

#include <functional>

#include "engine/motion_settings.h"
#include "ui/viewer/viewer_host.h"

namespace ui {

// motionSettings gives the settings the host loaded for the current webcam (MotionSettings).
ViewerServices JpegViewerServices(std::function<engine::TMotionSettingsRec()> motionSettings);

}  // namespace ui
