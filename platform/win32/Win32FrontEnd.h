#pragma once

#include "platform/win32/WindowsApi.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/Form.h"
#include "platform/Runtime.h"
#include "platform/win32/FormWindow.h"

namespace platform::win32 {

// The native Windows front end: the form as a window of real controls, its
// timers as window timers, message boxes as MessageBoxW, keys from the
// window's own key messages.
//
// From the forms layer it uses the pass, the timer schedule, the focus and
// the keyboard; it reports the window's key messages, its deactivation and
// where a click put the keyboard, and when a box opens it passes on which
// answering keys Windows knows are down. Needs Windows 10 1607 or later (per-
// monitor DPI awareness); builds with mingw-w64.
class Win32FrontEnd final : public Runtime {
 public:
  Win32FrontEnd(std::string appTitle, HINSTANCE instance);
  ~Win32FrontEnd() override;

  // Builds the window, raises the load event, then shows the window as
  // `show` says.
  void Show(Form& form, int show);
  // Runs the window until it is closed; returns the program's exit code.
  int Loop();
  int Run(Form& form, int show) {
    Show(form, show);
    return Loop();
  }

  HWND Window() const { return window_ ? window_->Handle() : nullptr; }
  // The play field's pixels as the window should show them, for tools.
  const FieldRaster& Field() const { return *window_->Pass().Fields().front(); }
  // Runs code that changes the controls as an event of the window.
  void Dispatch(const std::function<void()>& handler) { window_->Dispatch(handler); }

 private:
  // A test's answer takes the box's place: nothing drives MessageBoxW.
  void ShowMessage(const std::string& prompt) override;
  // Windows knows which keys are down, wherever they were pressed.
  std::optional<bool> KeyDownNow(int vk) const override;
  static LRESULT CALLBACK MessageFilter(int code, WPARAM wParam, LPARAM lParam);

  HINSTANCE instance_;
  std::unique_ptr<FormWindow> window_;
};

}  // namespace platform::win32
