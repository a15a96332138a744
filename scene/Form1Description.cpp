#include "scene/Form1Description.h"

#include "platform/Colour.h"
#include "scene/Assets.h"

namespace scene {

using platform::ControlKind;
using platform::RGB;
using platform::vbWindowBackground;
using platform::vbWindowText;

namespace {

// A sprite inside the play field: a borderless 135 x 135 picture box.
platform::ControlDescription Sprite(std::string_view name, int index, platform::Twips left, platform::Twips top,
                                    int tabIndex, std::span<const std::uint8_t> picture, bool visible,
                                    std::string_view role = {}) {
  return {.kind = ControlKind::PictureBox, .name = name, .index = index, .container = "Back", .left = left,
          .top = top, .width = 135, .height = 135, .tabIndex = tabIndex, .backColor = vbWindowBackground,
          .foreColor = vbWindowText, .picture = picture, .visible = visible, .accessibleName = role};
}

platform::ControlDescription StripLabel(std::string_view name, platform::Twips left, platform::Twips width,
                                        int tabIndex, std::string_view caption, std::string_view labelFor = {},
                                        std::string_view announce = {}) {
  return {.kind = ControlKind::Label, .name = name, .container = "Form1", .left = left, .top = 4920,
          .width = width, .height = 255, .tabIndex = tabIndex, .text = caption, .labelFor = labelFor,
          .announce = announce};
}

platform::FormDescription Make() {
  return {
      .name = "Form1",
      .caption = "Form1",
      .clientWidth = 6975,
      .clientHeight = 5160,
      .controls = {
          {.kind = ControlKind::Timer, .name = "Timer2", .container = "Form1", .enabled = false, .interval = 1000},
          {.kind = ControlKind::TextBox, .name = "time", .container = "Form1", .left = 4560, .top = 4920,
           .width = 375, .height = 285, .tabIndex = 18, .text = "30", .backColor = vbWindowBackground,
           .foreColor = vbWindowText, .accessibleName = "Time limit in seconds", .announce = "% to go",
           .announceCountFrom = 5},
          {.kind = ControlKind::CommandButton, .name = "NewGame", .container = "Form1", .left = 5880, .top = 4920,
           .width = 1095, .height = 255, .tabIndex = 8, .text = "New Game"},
          {.kind = ControlKind::Timer, .name = "Timer1", .container = "Form1", .enabled = true, .interval = 1},
          {.kind = ControlKind::PictureBox, .name = "Back", .container = "Form1", .left = 0, .top = 0,
           .width = 6975, .height = 4935, .tabIndex = 0, .backColor = vbWindowBackground,
           .foreColor = vbWindowText, .picture = BackgroundBitmap(), .visible = false, .enabled = false,
           .accessibleName = "Play field", .announce = "Game started"},
          Sprite("dir", 3, 6720, 120, 15, FacingRightBitmap(), false),
          Sprite("dir", 2, 6480, 120, 14, FacingLeftBitmap(), false),
          Sprite("dir", 1, 6600, 120, 13, FacingDownBitmap(), false),
          Sprite("dir", 0, 6600, 0, 12, FacingUpBitmap(), false),
          Sprite("Picture8", -1, 2640, 3840, 7, TargetDotBitmap(), true, "Target dot"),
          Sprite("Picture7", -1, 2280, 3480, 6, TargetDotBitmap(), true, "Target dot"),
          Sprite("Picture6", -1, 2520, 3720, 5, TargetDotBitmap(), true, "Target dot"),
          Sprite("Picture5", -1, 2160, 3360, 4, TargetDotBitmap(), true, "Target dot"),
          Sprite("Picture4", -1, 2400, 3600, 3, TargetDotBitmap(), true, "Target dot"),
          {.kind = ControlKind::PictureBox, .name = "bullet", .container = "Back", .left = 1440, .top = 1080,
           .width = 135, .height = 135, .tabIndex = 2, .backColor = RGB(255, 0, 0), .foreColor = vbWindowText,
           .visible = false, .accessibleName = "Bullet"},
          Sprite("player1", -1, 1320, 1080, 1, FacingDownBitmap(), true, "Player"),
          {.kind = ControlKind::Label, .name = "direction", .container = "Back", .left = 6480, .top = 240,
           .width = 375, .height = 255, .tabIndex = 16, .text = "down", .visible = false},
          {.kind = ControlKind::Label, .name = "hidden", .container = "Form1", .left = 2880, .top = 2400,
           .width = 1215, .height = 495, .tabIndex = 20, .text = "0", .visible = false},
          StripLabel("Label3", 4920, 735, 19, "Seconds", "time"),
          StripLabel("Label2", 3720, 855, 17, "Time Limit:", "time"),
          {.kind = ControlKind::Label, .name = "sshoot", .container = "Form1", .left = 0, .top = 4920,
           .width = 1215, .height = 255, .tabIndex = 11, .text = "Ready To Shoot", .backColor = RGB(255, 0, 0),
           .foreColor = RGB(255, 255, 255)},
          StripLabel("Label1", 1680, 495, 10, "Score:", "Score"),
          StripLabel("Score", 2280, 855, 9, "0", {}, "Score %"),
      }};
}

}  // namespace

const platform::FormDescription& Form1Description() {
  static const platform::FormDescription description = Make();
  return description;
}

}  // namespace scene
