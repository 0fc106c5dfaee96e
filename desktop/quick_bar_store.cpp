#include "desktop/quick_bar_store.h"

#include "platform/settings_store.h"

#include <exception>
#include <unordered_map>

namespace desktop {

namespace {

bool ReplaceQuickBarKey(const std::vector<platform::StoredValue>& values) {
    try {
        platform::SettingsKey::ReplaceKey(kQuickBarKey, values);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace

std::vector<std::string> ReadQuickBarNames() {
    std::vector<std::string> names;
    try {
        const std::vector<platform::StoredValue> values = platform::SettingsKey(kQuickBarKey, false).ReadAll();
        std::unordered_map<std::string, const platform::StoredValue*> byName;
        for (const platform::StoredValue& value : values) byName.emplace(value.name, &value);
        // Up to the first number that is not there at all; a value that is there but cannot be
        // read as a string (a binary one) is skipped, the rest still count.
        for (int i = 0;; ++i) {
            const auto it = byName.find(std::to_string(i));
            if (it == byName.end()) break;
            if (it->second->type == platform::ValueType::String) names.push_back(it->second->bytes);
        }
    } catch (const std::exception&) {
    }
    return names;
}

bool WriteQuickBarStore(const std::vector<std::string>& names, const TAppBarSettings& settings) {
    std::vector<platform::StoredValue> values;
    values.reserve(names.size() + 1);
    for (std::size_t i = 0; i < names.size(); ++i)
        values.push_back({std::to_string(i), platform::ValueType::String, names[i]});
    values.push_back({kAppBarValue, platform::ValueType::Binary,
                      std::string(reinterpret_cast<const char*>(&settings), sizeof settings)});
    return ReplaceQuickBarKey(values);
}

void ClearQuickBarStore() { ReplaceQuickBarKey({}); }

}  // namespace desktop
