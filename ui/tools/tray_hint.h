#pragma once
// The tray icon's hint: how many webcams run.

#include <QString>

namespace ui {

// "Orvello : " + the count + "WebCam en fonctionnement" (nothing between the number and the
// text), or "Orvello : Pas de webcam en fonctionnement" when none runs.
QString TrayHintText(int running);

}  // namespace ui
