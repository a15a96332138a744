#pragma once

#include <cstdint>

namespace platform {

// 24-bit colour, red in the low byte, blue in the high byte. A value with the
// top bit set names a system colour by the number in its low byte.
using Colour = std::uint32_t;

constexpr Colour RGB(int red, int green, int blue) {
  return static_cast<Colour>(red & 0xFF) | static_cast<Colour>(green & 0xFF) << 8 |
         static_cast<Colour>(blue & 0xFF) << 16;
}

constexpr Colour SystemColour(int number) { return 0x80000000u | static_cast<Colour>(number & 0xFF); }

inline constexpr Colour vbButtonFace = SystemColour(15);
inline constexpr Colour vbButtonText = SystemColour(18);
inline constexpr Colour vbWindowBackground = SystemColour(5);
inline constexpr Colour vbWindowText = SystemColour(8);

// The plain RGB value that a colour shows as, system colours resolved with
// the standard colour scheme.
Colour ResolveColour(Colour colour);

constexpr int RedOf(Colour c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(Colour c) { return static_cast<int>(c >> 8 & 0xFF); }
constexpr int BlueOf(Colour c) { return static_cast<int>(c >> 16 & 0xFF); }

}  // namespace platform
