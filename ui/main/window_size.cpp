#include "ui/main/window_size.h"

#include "engine/regconfig.h"
#include "platform/settings_store.h"

namespace ui {

QSize ClampWindowSize(QSize stored, QSize screen) {
    auto fit = [](int value, int limit) { return value <= 0 || value > limit ? limit : value; };
    return {fit(stored.width(), screen.width()), fit(stored.height(), screen.height())};
}

bool WindowSizeStored() {
    try {
        return platform::SettingsKey::KeyExists(engine::kSettingsKey) &&
               platform::SettingsKey(engine::kSettingsKey, false).Info("CONFIG").has_value();
    } catch (const platform::SettingsError&) {
        return false;
    }
}

}  // namespace ui
