#include "ui/tools/tray_hint.h"

#include "engine/messages.h"

namespace ui {

QString TrayHintText(int running) {
    const std::string hint = running > 0 ? engine::LoadMessage(65209) + std::to_string(running) + engine::LoadMessage(65210)
                                         : engine::LoadMessage(65208);
    return QString::fromStdString(hint);
}

}  // namespace ui
