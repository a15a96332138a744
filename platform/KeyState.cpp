#include "platform/KeyState.h"

namespace platform {
namespace {
bool Valid(int vk) { return vk >= 0 && vk < 256; }
}  // namespace

void KeyState::Press(int vk) {
  if (!Valid(vk)) return;
  down_[vk] = true;
  pressed_[vk] = true;
}

void KeyState::Release(int vk) {
  if (Valid(vk)) down_[vk] = false;
}

void KeyState::ReleaseAll() {
  down_.fill(false);
  pressed_.fill(false);
}

std::int16_t KeyState::Query(int vk) {
  if (!Valid(vk)) return 0;
  std::int16_t state = 0;
  if (down_[vk]) state |= kDown;
  if (pressed_[vk]) state |= kPressedSinceQuery;
  pressed_[vk] = false;
  return state;
}

}  // namespace platform
