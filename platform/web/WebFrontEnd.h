#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Form.h"
#include "platform/Runtime.h"
#include "platform/ScreenPass.h"

namespace platform::web {

// The form in a browser page: its labels, text box and button as HTML
// controls at their design places, its play field as a canvas, its message
// boxes as modal dialogs. The page's script (front.js) owns the elements and
// forwards the page's events here.
//
// From the forms layer it uses the pass, the timer schedule, the focus and
// the keyboard; the page reports keys as virtual keys, the keyboard's loss on
// a blur or a hidden tab, and where the keyboard went among the controls.
// The page cannot say which keys are down when it gets the keyboard back, so
// a key let go elsewhere is not held. Needs emscripten with Asyncify, for
// the dialog's wait.
class PageScreen;

class WebFrontEnd final : public Runtime {
 public:
  explicit WebFrontEnd(std::string appTitle);
  ~WebFrontEnd() override;

  // Builds the page's controls, raises the load event, then shows the form.
  void Show(Form& form);

  // The page's events. Keys carry virtual key codes; a dialog's keys also
  // the event's time.
  void Key(int vk, bool down, bool repeat, bool shift);
  void KeyboardLost();
  // The keyboard went to this control, or to none of the form's (-1).
  void FocusMoved(int control);
  void Click(std::size_t control);
  void Type(std::size_t control, const std::string& text);
  void TimerWoke(std::size_t timer);
  // Whether this key answers the open dialog.
  bool BoxAnswers(int vk, bool down, bool repeat, double at);

  static WebFrontEnd& Current();

 private:
  // Waits in the page's dialog until it closes; the page's events, timer
  // ticks among them, go on meanwhile.
  void ShowMessage(const std::string& prompt) override;

  Form* form_ = nullptr;
  std::unique_ptr<PageScreen> screen_;
  std::unique_ptr<ScreenPass> pass_;
};

}  // namespace platform::web
