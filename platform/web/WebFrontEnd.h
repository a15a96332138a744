#pragma once

#include <memory>
#include <string>

#include "platform/Form.h"
#include "platform/Runtime.h"
#include "platform/ScreenPass.h"

namespace platform::web {

class PageScreen;

// The web front end: the form in a browser page, its labels, text box and
// button as HTML controls at their design places, its play field as a
// canvas, its message boxes as the page's modal dialog. The page's script
// (front.js) makes and changes the elements as the pass asks, and reports
// the page's keys, clicks, typing, focus and blur through the runtime.
//
// What the page cannot give: which keys are down when it gets the keyboard
// back, so a key let go elsewhere is not held; key repeats of its own on a
// touch screen, whose on-screen keys are held as pointers are; a way for a
// test to answer the dialog other than by keys. A hidden page's timers sleep
// as a stalled program's do, and wake late when it shows again. Needs
// emscripten with Asyncify, for the dialog's wait.
class WebFrontEnd final : public Runtime {
 public:
  explicit WebFrontEnd(std::string appTitle);
  ~WebFrontEnd() override;

  // Builds the page's controls and opens the form.
  void Show(Form& form);

  // The control with this index in the form's list, or nullptr.
  Control* ControlAt(int index) const;
  ScreenPass& Pass() const;

  static WebFrontEnd& Current() { return static_cast<WebFrontEnd&>(Runtime::Current()); }

 private:
  // Waits in the page's dialog until it closes; the page's events, timer
  // ticks among them, go on meanwhile.
  void ShowMessage(const std::string& prompt, bool overForm) override;

  std::unique_ptr<PageScreen> page_;
};

}  // namespace platform::web
