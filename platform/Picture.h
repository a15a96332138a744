#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/Colour.h"

namespace platform {

// A picture object. Copies share the object; two pictures are the same when
// their handles are, whatever their pixels. The empty picture has handle 0.
class Picture {
 public:
  Picture() = default;

  // A new picture object from a 24-bit uncompressed Windows bitmap file.
  // Throws std::invalid_argument for anything else.
  static Picture FromBitmapFile(std::span<const std::uint8_t> file);

  std::uint64_t Handle() const { return image_ ? image_->handle : 0; }
  bool Empty() const { return !image_; }
  int WidthPixels() const { return image_ ? image_->width : 0; }
  int HeightPixels() const { return image_ ? image_->height : 0; }
  // RGB of the pixel in column x, row y from the top.
  Colour Pixel(int x, int y) const { return image_->pixels[static_cast<std::size_t>(y * image_->width + x)]; }

  friend bool operator==(const Picture& a, const Picture& b) { return a.Handle() == b.Handle(); }

 private:
  struct Image {
    std::uint64_t handle;
    int width;
    int height;
    std::vector<Colour> pixels;  // top row first
  };
  std::shared_ptr<const Image> image_;
};

}  // namespace platform
