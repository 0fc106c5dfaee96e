#include "ui/viewer/webcam_info.h"

#include <QUrl>

#include "engine/messages.h"
#include "engine/webcam.h"
#include "engine/webcam_manager.h"
#include "platform/cp1252.h"
#include "ui/dialogs/dialog_controls.h"
#include "ui/viewer/viewer_texts.h"
#include "ui/web/browser.h"

namespace ui {
namespace {

QString FromRecord(const std::string& bytes) { return QString::fromStdString(platform::Cp1252ToUtf8(bytes)); }

}  // namespace

WebcamInfo WebcamInfoOf(const engine::twebcam& webcam, int diskEntries, int diskPending, platform::TDateTime now) {
    const engine::TWebcamDefRec rec = webcam.Rec();
    WebcamInfo info;
    info.name = FromRecord(rec.Name.str());
    info.running = webcam.FRunning;
    info.enabled = rec.Enabled != 0;
    info.runState = Message(info.running ? 65239 : 65240);
    info.fileCount = QString::number(diskEntries + diskPending);
    const std::string description = rec.Description.str().empty() ? rec.PictureURL.str() : rec.Description.str();
    info.description = FromRecord(description) +
                       WebcamAgeText(now, webcam.FLastNewPicture, webcam.FServerDate, webcam.FLastModified);
    return info;
}

void OpenWebcamLink(engine::twebcammanager& manager, int currentWebcam, QWidget* parent,
                    const std::function<bool(const QUrl&)>& opener) {
    const engine::twebcam* webcam =
        currentWebcam >= 1 && currentWebcam <= manager.Count() ? manager.GetWebcam(currentWebcam) : nullptr;
    if (manager.Count() == 0 || !webcam) {
        ShowMessage(parent, 65257);
        return;
    }
    const QString link = FromRecord(webcam->Rec().LinkURL.str()).trimmed();
    if (!IsWebLink(link)) {
        ShowMessage(parent, 65258);
        return;
    }
    OpenInBrowser(link, opener);
}

}  // namespace ui
