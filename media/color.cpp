#include "media/color.h"

#include <array>

namespace media {

namespace {

// The classic grey desktop scheme, indexed like the system colours above.
constexpr std::array<TColor, 25> kClassicScheme = {
    clSilver,                  // scroll bar
    clTeal,                    // desktop background
    clNavy,                    // active caption
    clGray,                    // inactive caption
    clSilver,                  // menu
    clWhite,                   // window
    clBlack,                   // window frame
    clBlack,                   // menu text
    clBlack,                   // window text
    clWhite,                   // caption text
    clSilver,                  // active border
    clSilver,                  // inactive border
    clGray,                    // application work space
    clNavy,                    // highlight
    clWhite,                   // highlight text
    clSilver,                  // button face
    clGray,                    // button shadow
    clGray,                    // grey text
    clBlack,                   // button text
    clSilver,                  // inactive caption text
    clWhite,                   // button highlight
    clBlack,                   // 3-D dark shadow
    clSilver,                  // 3-D light
    clBlack,                   // tool-tip text
    RGBColor(0xFF, 0xFF, 0xE1),  // tool-tip background
};

}  // namespace

TColor ColorToRGB(TColor color) {
  if (!IsSystemColor(color)) return color & 0x00FFFFFFu;
  const TColor index = color & ~kSystemColorFlag;
  return index < kClassicScheme.size() ? kClassicScheme[index] : clBlack;
}

}  // namespace media
