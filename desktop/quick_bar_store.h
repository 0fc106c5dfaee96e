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
// as a string is left out.
std::vector<std::string> ReadQuickBarNames();
// Removes the key with all its values, makes it again and writes one value per name.
void WriteQuickBarNames(const std::vector<std::string>& names);
// Removes the key with all its values ("DOROZADATA" too) and makes it again, empty.
void ClearQuickBarStore();

}  // namespace desktop
