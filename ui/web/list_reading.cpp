#include "ui/web/list_reading.h"

#include "engine/list_import.h"
#include "platform/qt/prompts.h"
#include "ui/dialogs/dialog_controls.h"
#include "ui/web/hourglass.h"

#include <optional>

namespace ui {
namespace {
constexpr int kMsgLongOperation = 65116;
}  // namespace

int ReadWebcamList(engine::twebcamstaticlist& list, const std::string& path, const ListReader& read) {
    const engine::ListFormat format = engine::ListFormatOf(path);
    if (format == engine::ListFormat::Dat) platform::CurrentPrompts().Message(Message(kMsgLongOperation));
    std::optional<Hourglass> hourglass;
    if (format != engine::ListFormat::Own) hourglass.emplace();
    return read(list, path);
}

}  // namespace ui
