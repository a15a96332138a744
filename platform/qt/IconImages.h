#pragma once

#include <QImage>
#include <cstdint>
#include <span>
#include <vector>

namespace platform::qt {

// The sizes a desktop's icon theme asks for, in pixels.
inline constexpr int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

// The program icon at each of the sizes, made from the .ico's own 16 and
// 32 px images by whole-number nearest-neighbour scaling, so the pixel art
// stays crisp. A size that no source fills exactly gets the largest fit,
// centred on transparency. Empty when the .ico lacks either source image.
std::vector<QImage> IconImages(std::span<const std::uint8_t> icoFile, std::span<const int> sizes = kIconSizes);

}  // namespace platform::qt
