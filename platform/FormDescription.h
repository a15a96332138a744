#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "platform/Colour.h"
#include "platform/Units.h"

namespace platform {

enum class ControlKind { PictureBox, Label, TextBox, CommandButton, Timer };

// One control as the window description holds it, with its design values.
struct ControlDescription {
  ControlKind kind;
  std::string_view name;
  int index = -1;  // element of a control array, or -1
  std::string_view container;  // the form's name or a picture box's
  Twips left = 0, top = 0, width = 0, height = 0;
  int tabIndex = -1;
  std::string_view text = {};  // Caption or Text
  Colour backColor = vbButtonFace;
  Colour foreColor = vbButtonText;
  std::span<const std::uint8_t> picture = {};  // a bitmap file, or none
  bool visible = true;
  bool enabled = true;
  int interval = 0;
  // What a screen reader calls a control that shows no caption of its own.
  std::string_view accessibleName = {};
  // A label's: the control whose caption it is, for screen readers.
  std::string_view labelFor = {};
  // What a screen reader says, politely, when the game changes what the
  // control shows, for the news that a sighted player sees: '%' stands for
  // its new text; a picture box says it as it comes into view. Empty: nothing.
  std::string_view announce = {};
  // A count that is said only in its last steps, from this number down to 1.
  int announceCountFrom = 0;
};

// The type that every control is set in.
struct FontDescription {
  std::string_view name;
  int pixels = 0;  // its height at 96 dots per inch
};

struct FormDescription {
  std::string_view name;
  std::string_view caption;
  Twips clientWidth = 0, clientHeight = 0;
  Colour backColor = vbButtonFace;
  Colour foreColor = vbButtonText;
  // The old runtime's default: 8-point MS Sans Serif.
  FontDescription font = {"MS Sans Serif", 11};
  std::vector<ControlDescription> controls;  // in the order the window holds them
};

}  // namespace platform
