#pragma once

#include <functional>

#include "app/Form1.h"
#include "platform/KeyState.h"
#include "platform/Units.h"

// The scene of the README's screenshot, the same on every front end: a new
// game, a walk down and right, a turn right and a shot. The ticks are raised
// by hand through `dispatch`, which runs each as an event of the window, so
// the picture is the same every time.
inline void PlayScreenshotScene(Form1& form, platform::KeyState& keys,
                                const std::function<void(const std::function<void()>&)>& dispatch) {
  dispatch([&] { form.NewGame.Press(); });
  const auto holding = [&](int vk, int ticks) {
    if (vk != 0) keys.Press(vk);
    for (int i = 0; i < ticks; ++i) dispatch([&] { form.Timer1.RaiseTimer(); });
    if (vk != 0) keys.Release(vk);
  };
  holding(platform::vbKeyDown, 60);
  holding(platform::vbKeyRight, 40);
  holding(platform::vbKeyReturn, 1);
  holding(0, 30);
}
