#pragma once

#include <cstdint>

namespace platform {

// Positions and sizes are twips held in single precision, as the controls
// report them; one rule (Pixels.h) turns them into pixels for every front end.
using Twips = float;
inline constexpr int TwipsPerPixel = 15;

// The runtime's Boolean: true has all 16 bits set. Callers of functions that
// return it compare with exactly these two values.
using Boolean = std::int16_t;
inline constexpr Boolean vbTrue = -1;
inline constexpr Boolean vbFalse = 0;

// Virtual key codes that the game polls.
inline constexpr int vbKeyReturn = 13;
inline constexpr int vbKeyLeft = 37;
inline constexpr int vbKeyUp = 38;
inline constexpr int vbKeyRight = 39;
inline constexpr int vbKeyDown = 40;

}  // namespace platform
