#pragma once

#include "platform/FormDescription.h"

namespace scene {

// The project's title: the caption of every message box.
inline constexpr const char* kProjectTitle = "vantor";

// The game window and its controls with their design values.
const platform::FormDescription& Form1Description();

}  // namespace scene
