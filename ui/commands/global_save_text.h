#pragma once
// The text of the read-only box Edit3 beside SpeedButton2: the global saving mode in words.

#include <QString>

#include <cstdint>

namespace ui {

// "(Eteindre)" when off; else "chaque image" (mode 0), "Si mouvement" (254), "Rien" (255), or
// "Sauter" directly followed by the skip count (1..253).
QString GlobalSaveText(std::uint8_t on, std::uint8_t mode);

}  // namespace ui
