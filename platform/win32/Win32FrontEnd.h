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

// The Win32 front end: the form as a window of real controls, its timers as
// window timers (which run on while the window is minimised), message boxes
// as MessageBoxW, keys from the window's own key messages.
//
// It reports to the runtime the window's and its box's key messages, its
// deactivation, clicks, typing and where a click put the keyboard, and tells
// which keys Windows knows are down when a box opens. What Windows cannot
// give: a window timer waits at least 10 ms and by whole milliseconds, on
// the system's 1 ms tick only while this program asks for it; nothing drives
// a MessageBoxW for a test, so a test's answer takes the box's place. Needs
// Windows 10 1607 or later (per-monitor DPI awareness); builds with mingw-w64.
class Win32FrontEnd final : public Runtime {
 public:
  Win32FrontEnd(std::string appTitle, HINSTANCE instance);
  ~Win32FrontEnd() override;

  // Builds the window and opens the form on it (Runtime::Open), shown as
  // `show` says.
  void Show(Form& form, int show);
  // Runs the window until it is closed; returns the program's exit code.
  int Loop();
  int Run(Form& form, int show) {
    Show(form, show);
    return Loop();
  }

  HWND Window() const { return window_ ? window_->Handle() : nullptr; }
  // Runs code that changes the controls as an event of the window.
  void Dispatch(const std::function<void()>& handler) { window_->Pass().Dispatch(handler); }

 private:
  // A test's answer takes the box's place: nothing drives MessageBoxW.
  void ShowMessage(const std::string& prompt, bool overForm) override;
  // Windows knows which keys are down, wherever they were pressed.
  std::optional<bool> KeyDownNow(int vk) const override;
  static LRESULT CALLBACK MessageFilter(int code, WPARAM wParam, LPARAM lParam);

  HINSTANCE instance_;
  std::unique_ptr<FormWindow> window_;
};

}  // namespace platform::win32
