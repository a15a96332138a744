#include "platform/Image.h"

#include <cstdlib>
#include <unordered_map>

namespace platform {
namespace {

std::uint32_t Read32(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
         static_cast<std::uint32_t>(bytes[at + 2]) << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}
std::uint16_t Read16(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

}  // namespace

Image DecodeBitmap(std::span<const std::uint8_t> file) {
  constexpr std::size_t kHeaders = 14 + 40;
  constexpr int kLargest = 1 << 14;
  if (file.size() < kHeaders || file[0] != 'B' || file[1] != 'M') return {};
  const std::uint32_t offset = Read32(file, 10);
  const auto width = static_cast<std::int32_t>(Read32(file, 18));
  const auto rawHeight = static_cast<std::int32_t>(Read32(file, 22));
  if (Read16(file, 26) != 1 || Read16(file, 28) != 24 || Read32(file, 30) != 0) return {};
  // A negative height stores the rows top down.
  const bool bottomUp = rawHeight > 0;
  const int height = rawHeight == INT32_MIN ? 0 : std::abs(rawHeight);
  if (width <= 0 || width > kLargest || height <= 0 || height > kLargest) return {};
  const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
  if (offset > file.size() || file.size() - offset < stride * height) return {};

  Image image{width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height)};
  for (int y = 0; y < height; ++y) {
    const std::size_t row = offset + stride * static_cast<std::size_t>(bottomUp ? height - 1 - y : y);
    for (int x = 0; x < width; ++x) {
      const std::size_t at = row + static_cast<std::size_t>(x) * 3;
      image.pixels[static_cast<std::size_t>(y) * width + x] =
          static_cast<std::uint32_t>(file[at + 2]) << 16 | static_cast<std::uint32_t>(file[at + 1]) << 8 | file[at];
    }
  }
  return image;
}

const Image& ImageOf(const Picture& picture) {
  // A picture file is built into the program and never changes, so its image,
  // decoded once, serves every picture made from it: keyed by handle, each
  // new form (every test, every benchmark run) would decode its own again.
  static std::unordered_map<const std::uint8_t*, Image> images;
  auto [it, made] = images.try_emplace(picture.File().data());
  if (made && !picture.Empty()) it->second = DecodeBitmap(picture.File());
  return it->second;
}

}  // namespace platform
