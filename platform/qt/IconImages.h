#pragma once

#include <QImage>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/IconSizes.h"

namespace platform::qt {

// The program icon at each of the sizes, made crisp from the .ico's own 16
// and 32 px images as the forms layer says (CrispIconOf). Empty when the
// .ico lacks either source image.
std::vector<QImage> IconImages(std::span<const std::uint8_t> icoFile,
                               std::span<const int> sizes = kDesktopIconSizes);

}  // namespace platform::qt
