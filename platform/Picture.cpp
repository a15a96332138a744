#include "platform/Picture.h"

#include <atomic>

namespace platform {

Picture Picture::FromFile(std::span<const std::uint8_t> file) {
  static std::atomic<std::uint64_t> nextHandle{1};
  Picture picture;
  picture.handle_ = nextHandle++;
  picture.file_ = file;
  return picture;
}

}  // namespace platform
