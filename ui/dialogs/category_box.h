#pragma once
// The category choice of the webcam choosers: "Toutes les cameras" (value 0) and the names of
// categories 1..57 (their slot as value), sorted by name, the first value 0 selected.

#include <QComboBox>

#include <functional>
#include <string>

namespace ui {

// Fills box without running its change handlers; name gives the UTF-8 name of a slot.
void FillCategoryBox(QComboBox& box, const std::function<std::string(int slot)>& name);

}  // namespace ui
