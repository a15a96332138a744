#pragma once

#include <cstdint>
#include <span>

namespace scene {

// The picture files built into the program: 24-bit Windows bitmaps, and the
// program icon as a Windows .ico file.
std::span<const std::uint8_t> BackgroundBitmap();
std::span<const std::uint8_t> FacingUpBitmap();
std::span<const std::uint8_t> FacingDownBitmap();
std::span<const std::uint8_t> FacingLeftBitmap();
std::span<const std::uint8_t> FacingRightBitmap();
std::span<const std::uint8_t> TargetDotBitmap();
std::span<const std::uint8_t> IconFile();

}  // namespace scene
