#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Controls.h"
#include "platform/Form.h"
#include "platform/Runtime.h"
#include "platform/ScreenPass.h"

namespace platform {

// A front end with no window, for tests: they hold and release keys, raise
// timer ticks one at a time, click and type as a player would, and read the
// message boxes, which it answers at once. Every event runs through the same
// pass as a window's, on a clock of its own that moves only to the next
// wake-up that the pass armed: a timer the pass did not start never ticks.
class HeadlessFrontEnd final : public Runtime, private Screen {
 public:
  struct MessageBox {
    std::string caption;
    std::string prompt;
  };

  explicit HeadlessFrontEnd(std::string appTitle);
  ~HeadlessFrontEnd() override;

  // Takes the form over as the window would: raises its load event.
  void Load(Form& form);

  // Keys that only the game polls, as if no control had the keyboard.
  void HoldKey(int vk) { Keyboard().Key(vk, true, false); }
  void ReleaseKey(int vk) { Keyboard().Key(vk, false, false); }
  // A key pressed and let go on the form as a window's: the game polls it,
  // and the control with the keyboard may use it too.
  void PressKey(int vk);
  // The control that the window would give the keyboard to.
  const Control* Focused() const { return focused_; }
  // Ticks of the timer, each at the wake-up that the pass last armed for it;
  // none while it is stopped.
  void Tick(Timer& timer, int count = 1);
  // Time passes as in a window's event loop: each wake-up the pass armed is
  // delivered once it falls due, the overdue ones (after a Stall) at once.
  void Wait(std::chrono::milliseconds span);
  // Time passes with the program stalled: no wake-up is delivered.
  void Stall(std::chrono::milliseconds span) { now_ += span; }
  const std::vector<MessageBox>& MessageBoxes() const { return boxes_; }

  // The lines that the last event's handler drew on a picture box, in its
  // twips (after any box it opened).
  const std::vector<LineSegment>& StrokesOfLastEvent(const PictureBox& box) const;
  // Whether a window would show any line drawn on a field now.
  bool ShowsMarks(const PictureBox& field) const;
  // Whether a window that repaints only the rectangles that the pass said
  // changed shows the field's pixels as they are.
  bool RepaintsKeepUp(const PictureBox& field) const;
  // A field's pixel, 0xFFRRGGBB, as a window that repaints what the pass said
  // changed shows it.
  std::uint32_t Shows(const PictureBox& field, int x, int y) const;

 private:
  void ShowMessage(const std::string& prompt, bool overForm) override;

  struct Surface {
    PictureBox* box;
    std::vector<LineSegment> strokes;
    std::vector<std::uint32_t> repainted;  // a field's pixels as its window would show them
  };

  void SetTitle(const std::string&) override {}
  void Show(const Control&, const ControlLook&) override {}
  void SetFocus(const Control* control, bool) override { focused_ = control; }
  void Repaint(const FieldRaster& field, const std::vector<PixelRect>& changed) override;
  void PlaceSprite(const FieldRaster&, std::size_t, const PixelRect&, bool) override {}
  void WakeTimerIn(std::size_t timer, std::optional<std::chrono::milliseconds> delay) override;

  std::vector<MessageBox> boxes_;
  std::vector<Surface> surfaces_;
  std::vector<Timer*> timers_;  // in the pass's order
  std::vector<std::optional<TimerSchedule::Clock::time_point>> wakes_;
  TimerSchedule::Clock::time_point now_{};
  std::unique_ptr<ScreenPass> pass_;
  const Control* focused_ = nullptr;
};

}  // namespace platform
