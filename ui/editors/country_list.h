#pragma once
// The countries offered by the webcam editor and the place dialog, in their stored order
// (some names occur twice).

#include <QStringList>

namespace ui {

const QStringList& CountryList();

}  // namespace ui
