#pragma once
// The quick bar's stored state: its buttons (values "0", "1", ... naming webcams) and its
// position ("DOROZADATA") under the settings key Software\Quenmark\Orvello2\QuickBar.

namespace ui {

inline constexpr const char* kQuickBarKey = "Software\\Quenmark\\Orvello2\\QuickBar";

// Removes the key with all its values and makes it again, empty. Errors of the store are
// dropped: the bar then simply finds its old buttons, and skips those naming no webcam.
void ClearQuickBarStore();

}  // namespace ui
