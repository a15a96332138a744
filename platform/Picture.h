#pragma once

#include <cstdint>
#include <span>

namespace platform {

// A picture object: the image of a picture file. Copies share the object;
// two pictures are the same when their handles are, whatever their pixels.
// The empty picture has handle 0. The game only compares handles; the
// screen decodes the file (Image.h).
class Picture {
 public:
  Picture() = default;

  // A new picture object for the image in the file, which must outlive it
  // (the program's own files are built into it).
  static Picture FromFile(std::span<const std::uint8_t> file);

  std::uint64_t Handle() const { return handle_; }
  bool Empty() const { return handle_ == 0; }
  std::span<const std::uint8_t> File() const { return file_; }

  friend bool operator==(const Picture& a, const Picture& b) { return a.handle_ == b.handle_; }

 private:
  std::uint64_t handle_ = 0;
  std::span<const std::uint8_t> file_;
};

}  // namespace platform
