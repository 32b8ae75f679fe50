#pragma once
#include <QColor>
#include <cstdint>

namespace cardora {

// Colour as card files store it: 0x00BBGGRR for explicit colours,
// 0x80000000 + index for system colours, clNone for no colour.
using TColor = std::int32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clNavy = 0x800000;
constexpr TColor clBtnFace = static_cast<TColor>(0x8000000F);
constexpr TColor clWindow = static_cast<TColor>(0x80000005);
constexpr TColor clWindowText = static_cast<TColor>(0x80000008);
constexpr TColor clHighlight = static_cast<TColor>(0x8000000D);
constexpr TColor clNone = 0x1FFFFFFF;

// The RGB value (0x00BBGGRR) of a colour; system colours take the classic
// desktop scheme so that a card looks the same on every machine.
std::uint32_t ColorToRGB(TColor c);
QColor ToQColor(TColor c);
TColor FromQColor(const QColor& c);

} // namespace cardora
