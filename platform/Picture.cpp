#include "platform/Picture.h"

#include <atomic>
#include <stdexcept>

namespace platform {
namespace {

std::uint32_t Le32(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8 |
         static_cast<std::uint32_t>(b[at + 2]) << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

std::uint16_t Le16(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

std::uint64_t NewHandle() {
  static std::atomic<std::uint64_t> next{1};
  return next++;
}

}  // namespace

Picture Picture::FromBitmapFile(std::span<const std::uint8_t> file) {
  constexpr std::size_t kHeaders = 54;
  if (file.size() < kHeaders || file[0] != 'B' || file[1] != 'M')
    throw std::invalid_argument("not a bitmap file");
  const std::uint32_t offset = Le32(file, 10);
  const auto width = static_cast<std::int32_t>(Le32(file, 18));
  const auto height = static_cast<std::int32_t>(Le32(file, 22));
  if (Le16(file, 28) != 24 || Le32(file, 30) != 0 || width <= 0 || height <= 0 || width > 65535 ||
      height > 65535)
    throw std::invalid_argument("only bottom-up 24-bit uncompressed bitmaps are supported");
  const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
  if (offset < kHeaders || file.size() < offset + stride * static_cast<std::size_t>(height))
    throw std::invalid_argument("bitmap file is truncated");

  auto image = std::make_shared<Image>();
  image->handle = NewHandle();
  image->width = width;
  image->height = height;
  image->pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y) {
    const std::size_t row = offset + stride * static_cast<std::size_t>(height - 1 - y);
    for (int x = 0; x < width; ++x) {
      const std::size_t at = row + static_cast<std::size_t>(x) * 3;
      image->pixels[static_cast<std::size_t>(y * width + x)] = RGB(file[at + 2], file[at + 1], file[at]);
    }
  }
  Picture picture;
  picture.image_ = std::move(image);
  return picture;
}

}  // namespace platform
