#pragma once
// The colour type of the program: $00BBGGRR values (red in the low byte), or a system colour,
// written as 0x80000000 | index of the classic system colour table.
// System colours always resolve to the fixed classic values below, never to the desktop theme, so
// that every picture the program draws (and every test) looks the same on every desktop.

#include <cstdint>

namespace media {

using TColor = std::uint32_t;

constexpr TColor RGBColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return TColor{r} | (TColor{g} << 8) | (TColor{b} << 16);
}
constexpr std::uint8_t GetRValue(TColor c) { return static_cast<std::uint8_t>(c); }
constexpr std::uint8_t GetGValue(TColor c) { return static_cast<std::uint8_t>(c >> 8); }
constexpr std::uint8_t GetBValue(TColor c) { return static_cast<std::uint8_t>(c >> 16); }

constexpr TColor kSystemColorFlag = 0x80000000u;
constexpr TColor SystemColor(int index) { return kSystemColorFlag | static_cast<TColor>(index); }
constexpr bool IsSystemColor(TColor c) { return (c & kSystemColorFlag) != 0; }

// Plain colours.
constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;

// System colours, by their index in the classic table.
constexpr TColor clScrollBar = SystemColor(0);
constexpr TColor clBackground = SystemColor(1);
constexpr TColor clActiveCaption = SystemColor(2);
constexpr TColor clInactiveCaption = SystemColor(3);
constexpr TColor clMenu = SystemColor(4);
constexpr TColor clWindow = SystemColor(5);
constexpr TColor clWindowFrame = SystemColor(6);
constexpr TColor clMenuText = SystemColor(7);
constexpr TColor clWindowText = SystemColor(8);
constexpr TColor clCaptionText = SystemColor(9);
constexpr TColor clActiveBorder = SystemColor(10);
constexpr TColor clInactiveBorder = SystemColor(11);
constexpr TColor clAppWorkSpace = SystemColor(12);
constexpr TColor clHighlight = SystemColor(13);
constexpr TColor clHighlightText = SystemColor(14);
constexpr TColor clBtnFace = SystemColor(15);
constexpr TColor clBtnShadow = SystemColor(16);
constexpr TColor clGrayText = SystemColor(17);
constexpr TColor clBtnText = SystemColor(18);
constexpr TColor clInactiveCaptionText = SystemColor(19);
constexpr TColor clBtnHighlight = SystemColor(20);
constexpr TColor cl3DDkShadow = SystemColor(21);
constexpr TColor cl3DLight = SystemColor(22);
constexpr TColor clInfoText = SystemColor(23);
constexpr TColor clInfoBk = SystemColor(24);

// The $00BBGGRR value of a colour: system colours from the classic table (an unknown index gives
// black), plain colours with the unused high byte cleared.
TColor ColorToRGB(TColor color);

}  // namespace media
