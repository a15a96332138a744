#include "platform/win32/Win32FrontEnd.h"

#include <objbase.h>
#include <timeapi.h>

#include <set>
#include <utility>

#include "platform/win32/Text.h"

namespace platform::win32 {
namespace {

bool IsKey(const MSG& m) {
  return m.message == WM_KEYDOWN || m.message == WM_KEYUP || m.message == WM_SYSKEYDOWN || m.message == WM_SYSKEYUP;
}
bool IsPress(const MSG& m) { return m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN; }
// Windows marks a held key's repeated presses: the key was down before.
bool IsRepeat(const MSG& m) { return IsPress(m) && (m.lParam & (1 << 30)) != 0; }

// Reports a key message to the forms layer: whether it goes no further.
bool Stopped(const MSG& m) {
  return IsKey(m) && Runtime::Current().Key(static_cast<int>(m.wParam), IsPress(m), IsRepeat(m),
                                            GetKeyState(VK_SHIFT) < 0, m.time) == KeyOutcome::Stop;
}

}  // namespace

Win32FrontEnd::Win32FrontEnd(std::string appTitle, HINSTANCE instance)
    : Runtime(std::move(appTitle)), instance_(instance) {
  // Window timers then wake within a millisecond of their time rather than
  // on the 15.6 ms system tick, so the frame tick keeps its 64 a second.
  timeBeginPeriod(1);
  // For the service that names controls for screen readers.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
}

Win32FrontEnd::~Win32FrontEnd() {
  window_.reset();
  timeEndPeriod(1);
  CoUninitialize();
}

void Win32FrontEnd::Show(Form& form, int show) {
  window_ = std::make_unique<FormWindow>(form, instance_);
  Open(form, window_->Pass(), [this, show] { ShowWindow(window_->Handle(), show); });
}

int Win32FrontEnd::Loop() {
  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (window_->Owns(message.hwnd) && Stopped(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

void Win32FrontEnd::ShowMessage(const std::string& prompt, bool overForm) {
  if (TestAnswer()) {
    TestAnswer()(AppTitle(), prompt);
    return;
  }
  const HWND owner = overForm ? window_->Handle() : nullptr;
  // The box runs its own message loop; the filter sees each of its messages first.
  HHOOK filter = SetWindowsHookExW(WH_MSGFILTER, &MessageFilter, nullptr, GetCurrentThreadId());
  MessageBoxW(owner, Wide(prompt).c_str(), Wide(AppTitle()).c_str(), MB_OK);
  if (filter != nullptr) UnhookWindowsHookEx(filter);
}

std::optional<bool> Win32FrontEnd::KeyDownNow(int vk) const { return ::GetAsyncKeyState(vk) < 0; }

LRESULT CALLBACK Win32FrontEnd::MessageFilter(int code, WPARAM wParam, LPARAM lParam) {
  auto* message = reinterpret_cast<MSG*>(lParam);
  if (code == MSGF_DIALOGBOX && Stopped(*message)) return 1;  // the box never sees it
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace platform::win32
