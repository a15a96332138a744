#pragma once

#include <array>
#include <cstdint>

namespace platform {

// The key-state table behind GetAsyncKeyState. Key events only record here;
// the frame tick polls.
class KeyState {
 public:
  void Press(int vk);
  void Release(int vk);
  // Every key up and no press pending, as when the window loses the focus.
  void ReleaseAll();
  // Nonzero while the key is down, or if it was pressed since the previous
  // query of that key.
  std::int16_t Query(int vk);

 private:
  static constexpr std::int16_t kDown = static_cast<std::int16_t>(0x8000);
  static constexpr std::int16_t kPressedSinceQuery = 1;
  std::array<bool, 256> down_{};
  std::array<bool, 256> pressed_{};
};

}  // namespace platform
