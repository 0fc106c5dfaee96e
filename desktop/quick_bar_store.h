#pragma once
// The quick bar's stored state under the settings key Software\Quenmark\Orvello2\QuickBar: its
// buttons (string values "0", "1", ... naming webcams, in button order) and its position
// ("DOROZADATA", see app_bar_settings.h). Errors of the store are dropped: the bar then finds its
// old buttons, and skips those naming no webcam.

#include <string>
#include <vector>

#include "desktop/app_bar_settings.h"

namespace desktop {

// The names from "0" upward, up to the first number that is missing; a value that cannot be read
// as a string is left out. The key's folder is read once, whatever the number of values.
std::vector<std::string> ReadQuickBarNames();
// Replaces the key whole with one value per name and the settings: a program killed meanwhile
// leaves the old buttons and position or the new ones, never a part. False when it could not.
bool WriteQuickBarStore(const std::vector<std::string>& names, const TAppBarSettings& settings);
// Replaces the key with an empty one ("DOROZADATA" goes too).
void ClearQuickBarStore();

}  // namespace desktop
