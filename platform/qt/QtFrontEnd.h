#pragma once

#include <QObject>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "platform/Form.h"
#include "platform/Runtime.h"

namespace platform::qt {

class FormWindow;
class KeyFilter;

// The Qt front end: the form as a Qt top-level window of real widgets, its
// message boxes as QMessageBox, its timers as single-shot precise QTimers
// armed as the pass says, which run on while the window is minimised.
//
// It reports to the runtime the keys that reach the window or its box, the
// window's deactivation, clicks, typing and where a click put the keyboard;
// the pass tells it what to show. What Qt cannot give: which keys are down
// when the window comes back, so a key let go elsewhere is not held; on X
// the front end hears the keyboard leave from X itself, since Qt tells late
// or never. Qt itself still gives the focus back to its control on activation.
// Needs Qt 6 Widgets, on X11, Wayland or the offscreen platform.
class QtFrontEnd final : public Runtime {
 public:
  // Call before the QApplication is made: whole-number display scales keep
  // the pixels crisp.
  static void PrepareApplication();
  // Call before the QApplication is made: false when there is no display to
  // open a window on, where Qt would abort blaming the installation. An X11
  // or Wayland session, or a platform chosen by hand (QT_QPA_PLATFORM,
  // -platform, -display), counts as one; Qt reports any failure to reach it.
  static bool CanReachDisplay(int argc, char** argv);

  explicit QtFrontEnd(std::string appTitle);
  ~QtFrontEnd() override;

  // Builds the window and opens the form on it (Runtime::Open).
  void Show(Form& form);
  // Show, then run the event loop until the window closes.
  int Run(Form& form);

  QWidget* Window() const;
  // Runs code that changes the controls as an event of the window, as a
  // tick or a click would be, and then brings the window up to date.
  void Dispatch(const std::function<void()>& handler);

 private:
  void ShowMessage(const std::string& prompt, bool overForm) override;

  std::unique_ptr<FormWindow> window_;
  std::unique_ptr<KeyFilter> keyFilter_;
};

}  // namespace platform::qt
