#include "desktop/quick_bar_store.h"

#include "platform/settings_store.h"

#include <exception>

namespace desktop {

std::vector<std::string> ReadQuickBarNames() {
    std::vector<std::string> names;
    try {
        const platform::SettingsKey key(kQuickBarKey, false);
        for (int i = 0;; ++i) {
            std::optional<std::string> name = key.ReadString(std::to_string(i));
            if (!name) break;
            names.push_back(std::move(*name));
        }
    } catch (const std::exception&) {
    }
    return names;
}

void WriteQuickBarNames(const std::vector<std::string>& names) {
    try {
        platform::SettingsKey::DeleteKey(kQuickBarKey);
        platform::SettingsKey key(kQuickBarKey, true);
        for (std::size_t i = 0; i < names.size(); ++i) key.WriteString(std::to_string(i), names[i]);
    } catch (const std::exception&) {
    }
}

void ClearQuickBarStore() { WriteQuickBarNames({}); }

}  // namespace desktop
