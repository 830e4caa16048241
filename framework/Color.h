#pragma once
// Colour values: an RGB colour (red in the low byte, top byte 0) or a reference to a
// system colour (top byte 0xFF, low byte the system colour index).
#include <cstdint>

namespace kv {

using Color = uint32_t;

constexpr Color Rgb(uint8_t r, uint8_t g, uint8_t b) { return Color(r) | Color(g) << 8 | Color(b) << 16; }
constexpr Color SystemColor(int index) { return 0xFF000000u | Color(index & 0xFF); }
constexpr bool IsSystemColor(Color c) { return (c >> 24) == 0xFF; }
constexpr int SystemColorIndex(Color c) { return int(c & 0xFF); }

constexpr Color clBlack = Rgb(0, 0, 0);
constexpr Color clWhite = Rgb(255, 255, 255);
constexpr Color clSilver = Rgb(192, 192, 192);
constexpr Color clLime = Rgb(0, 255, 0);
constexpr Color clBlue = Rgb(0, 0, 255);
constexpr Color clGreen = Rgb(0, 128, 0);
constexpr Color clActiveCaption = SystemColor(2);
constexpr Color clWindow = SystemColor(5);
constexpr Color clWindowText = SystemColor(8);
constexpr Color clBtnFace = SystemColor(15);
constexpr Color clBtnShadow = SystemColor(16);
constexpr Color clBtnHighlight = SystemColor(20);

}  // namespace kv
