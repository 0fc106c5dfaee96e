#pragma once
// ShowWebcamInfo: what the current-webcam panel (Panel9) and its tool buttons show, and
// Button2Click: opening the current webcam's link URL. Main thread only.

#include <QString>

#include <functional>

#include "platform/clock_datetime.h"

class QUrl;
class QWidget;

namespace engine {
class twebcam;
class twebcammanager;
}  // namespace engine

namespace ui {

struct WebcamInfo {
    QString name;         // Label2
    QString runState;     // Label4: "En fonctionnement" or "Arrêté"
    QString fileCount;    // Label5: the disk browser's entries plus its pending count
    QString description;  // Label16: description (else the picture URL) and the age text
    bool running = false;     // ToolButton13 down, else ToolButton14
    bool enabled = false;     // ToolButton20 down, else ToolButton19; enables 13 and 14
};

WebcamInfo WebcamInfoOf(const engine::twebcam& webcam, int diskEntries, int diskPending, platform::TDateTime now);

// Button2Click: message 65257 without webcams, the link opened when it is http or https,
// otherwise message 65258; a browser that cannot be started is told as OpenInBrowser tells it.
void OpenWebcamLink(engine::twebcammanager& manager, int currentWebcam, QWidget* parent,
                    const std::function<bool(const QUrl&)>& opener = {});

}  // namespace ui
