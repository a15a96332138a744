#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Controls.h"
#include "platform/FieldRaster.h"
#include "platform/Focus.h"
#include "platform/Form.h"
#include "platform/Pixels.h"
#include "platform/TimerSchedule.h"

namespace platform {

// What the screen shows of one of the form's own controls.
struct ControlLook {
  std::optional<std::string> text;  // a label's or a button's caption, or a text box's text
  std::optional<std::pair<Colour, Colour>> colours;  // a label's back and fore, as plain RGB
  std::optional<PixelRect> place;
  std::optional<bool> visible, enabled;
  bool operator==(const ControlLook&) const = default;
};

// The form's window as every front end opens it: its client area in
// pixels, its colours as plain RGB, the height of its font in pixels.
struct FormLook {
  int width, height;
  Colour back, fore;
  int fontPixels;
};
FormLook LookOf(const Form& form);

// What a front end does to its screen. The pass calls each only when what it
// shows changed; its first run calls them all.
class Screen {
 public:
  virtual ~Screen() = default;
  virtual void SetTitle(const std::string& caption) = 0;
  // What changed of a control's look, in the order of the fields: the rest
  // stays as it was.
  virtual void Show(const Control& control, const ControlLook& changed) = 0;
  // The keyboard goes to this control, or to none of the form's; a text box
  // then selects its text if asked.
  virtual void SetFocus(const Control* control, bool selectText) = 0;
  // These pixels of a top-level picture box changed: read them from its
  // raster. Its boxes inside may have come or gone.
  virtual void Repaint(const FieldRaster& field, const std::vector<PixelRect>& changed) = 0;
  // A named box inside a field came into view, moved, or left it (an empty
  // rect), for screen readers; `cameOrWent` when it was out of view before
  // or is now.
  virtual void PlaceSprite(const FieldRaster& field, std::size_t sprite, const PixelRect& where, bool cameOrWent) = 0;
  // In how many whole milliseconds the timer should next wake, or nothing to
  // stop waking it. The front end then calls ScreenPass::TimerWoke once
  // that time has passed.
  virtual void WakeTimerIn(std::size_t timer, std::optional<std::chrono::milliseconds> delay) = 0;
  // Says this to a screen reader without cutting off what it is saying. A
  // front end that has no way to tell it says nothing.
  virtual void Announce(const std::string& message) { (void)message; }
};

// The pass that brings a screen up to date with the form after each event.
// Handlers change only the controls; a front end runs each event's handler
// to its end, then this pass, so the data flows one way and the screen
// changes once per event.
class ScreenPass {
 public:
  using Now = std::function<TimerSchedule::Clock::time_point()>;
  // `now` is the clock that timers start by: the steady clock, or a test's.
  ScreenPass(Form& form, Screen& screen, Now now = TimerSchedule::Clock::now);

  // Runs a handler as an event of the window, then the pass.
  void Dispatch(const std::function<void()>& handler);
  // Text typed into a box, as an event: the box shows it already, so the
  // pass does not set it again, which would move the caret.
  void Typed(TextBox& box, const std::string& text);
  // Also run before a message box opens, so that the screen shows the moment
  // it opens at.
  void Run();

  // A timer's wake-up: raises its tick if one is due, and says whether it
  // did. The next wake-up is armed before, so that ticks go on while a
  // handler waits in a message box.
  bool TimerWoke(std::size_t timer);

  // The window shows for the first time: the first tab stop takes the
  // keyboard.
  void FormShown();
  bool FormIsShown() const { return formShown_; }
  // The window system put the keyboard on one of the form's controls, as a
  // click does, or on none of them.
  void FocusMovedTo(const Control* control);
  const Control* FocusOwner() const { return focus_.Owner(); }
  // A key on the form that the focus may use: Tab and Shift+Tab move it,
  // Enter (as it goes down) and Space (as it comes up) press a focused
  // button. Says whether the key was used so; the front end then drops the
  // window system's own handling of it.
  bool FocusKey(int vk, bool down, bool repeat, bool shift);

  const std::vector<std::unique_ptr<FieldRaster>>& Fields() const { return fields_; }
  // The boxes inside a field that a screen reader finds, those with a name,
  // each where the pass last placed it: an empty rect while out of view.
  struct PlacedSprite {
    std::size_t sprite;  // in the field's Sprites()
    PixelRect place;
  };
  const std::vector<PlacedSprite>& SpritesPlaced(std::size_t field) const { return spritesShown_.at(field); }
  // For tests: runs after each handler, before the pass takes in what it did.
  void AfterEachHandler(std::function<void()> look) { afterHandler_ = std::move(look); }

 private:
  // What the screen last showed of a control.
  struct Shown {
    explicit Shown(Control* c) : control(c) {}
    Control* control;
    ControlLook look;
  };
  static const std::string* TextOf(const Control& control);
  void AnnounceText(const Control& control, const std::string& text);
  void ArmTimers();
  void ShowFocus();
  void PlaceSprites(const FieldRaster& field, std::vector<PlacedSprite>& shown);

  Form& form_;
  Screen& screen_;
  std::optional<std::string> title_;
  std::vector<Shown> shown_;
  std::vector<std::unique_ptr<FieldRaster>> fields_;
  std::vector<std::vector<PlacedSprite>> spritesShown_;  // each field's
  TimerSchedule timers_;
  Now now_;
  std::function<void()> afterHandler_;
  Focus focus_;
  bool formShown_ = false;
  const Control* focusShown_ = nullptr;
  const Control* spaceDownOn_ = nullptr;  // the button that Space went down on
};

}  // namespace platform
