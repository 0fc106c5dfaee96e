#include "desktop/quick_bar_store.h"

#include "platform/settings_store.h"

#include <exception>

namespace desktop {

std::vector<std::string> ReadQuickBarNames() {
    std::vector<std::string> names;
    try {
        const platform::SettingsKey key(kQuickBarKey, false);
        // Up to the first number that is not there at all; a value that is there but cannot be
        // read as a string (a binary one, an unreadable file) is skipped, the rest still count.
        for (int i = 0;; ++i) {
            const std::string value = std::to_string(i);
            if (!key.Info(value)) break;
            if (std::optional<std::string> name = key.ReadString(value)) names.push_back(std::move(*name));
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
