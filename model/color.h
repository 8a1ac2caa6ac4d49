// Packed colours, as the controls and the drawing take them: red + 256·green + 65536·blue; and
// how well one reads against another.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace corvani {

using Color = std::int32_t;

constexpr Color packColor(std::int32_t r, std::int32_t g, std::int32_t b) { return r + 256 * g + 65536 * b; }
constexpr std::int32_t redOf(Color c) { return c & 0xFF; }
constexpr std::int32_t greenOf(Color c) { return (c >> 8) & 0xFF; }
constexpr std::int32_t blueOf(Color c) { return (c >> 16) & 0xFF; }

// A colour's relative luminance, 0 for black to 1 for white, and the contrast of two colours, 1 to
// 21, as the Web Content Accessibility Guidelines measure them: text needs `legible` against
// what is behind it.
inline double luminance(Color c) {
  const auto linear = [](std::int32_t channel) {
    const double v = channel / 255.0;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(redOf(c)) + 0.7152 * linear(greenOf(c)) + 0.0722 * linear(blueOf(c));
}
inline double contrast(Color a, Color b) {
  const double la = luminance(a), lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}
inline constexpr double legible = 4.5;

namespace colors {
inline constexpr Color black = packColor(0, 0, 0);
inline constexpr Color red = packColor(255, 0, 0);
inline constexpr Color green = packColor(0, 255, 0);
inline constexpr Color blue = packColor(0, 0, 255);
inline constexpr Color yellow = packColor(255, 255, 0);
inline constexpr Color magenta = packColor(255, 0, 255);
inline constexpr Color cyan = packColor(0, 255, 255);
inline constexpr Color white = packColor(255, 255, 255);
inline constexpr Color lightGreen = packColor(192, 255, 192);
inline constexpr Color liquidGreen = packColor(128, 255, 128);
inline constexpr Color potGrey = packColor(48, 48, 48);
inline constexpr Color potFillGrey = packColor(64, 64, 64);
}  // namespace colors

}  // namespace corvani
