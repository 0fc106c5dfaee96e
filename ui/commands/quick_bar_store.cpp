#include "ui/commands/quick_bar_store.h"

#include "platform/settings_store.h"

#include <exception>

namespace ui {

void ClearQuickBarStore() {
    try {
        platform::SettingsKey::DeleteKey(kQuickBarKey);
        platform::SettingsKey key(kQuickBarKey, true);
    } catch (const std::exception&) {
    }
}

}  // namespace ui
