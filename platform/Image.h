#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/Picture.h"

namespace platform {

// A decoded picture: rows top to bottom, each pixel 0x00RRGGBB.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;

  bool Empty() const { return pixels.empty(); }
  std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// A 24-bit uncompressed Windows bitmap file, the one kind the game's
// pictures are; anything else decodes to an empty image.
Image DecodeBitmap(std::span<const std::uint8_t> file);

// The picture's image, decoded once per picture object.
const Image& ImageOf(const Picture& picture);

}  // namespace platform
