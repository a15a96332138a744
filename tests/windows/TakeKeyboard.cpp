// Another program's window that takes the keyboard from the game for a
// while, for the keyboard check under Wine: it shows and activates itself,
// and closes after the milliseconds given (800 by default), when Windows
// gives the keyboard back to the game.
//   take_keyboard.exe [MILLISECONDS]
#include <windows.h>

#include <cstdlib>

namespace {

LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER) DestroyWindow(hwnd);
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
  const UINT milliseconds = argc > 1 ? static_cast<UINT>(std::atoi(argv[1])) : 800;
  WNDCLASSW type{};
  type.lpfnWndProc = &Procedure;
  type.hInstance = GetModuleHandleW(nullptr);
  type.lpszClassName = L"VantorElsewhere";
  RegisterClassW(&type);
  HWND window = CreateWindowW(L"VantorElsewhere", L"Elsewhere", WS_OVERLAPPEDWINDOW, 600, 500, 200, 120, nullptr,
                              nullptr, type.hInstance, nullptr);
  ShowWindow(window, SW_SHOWNORMAL);
  SetForegroundWindow(window);
  SetTimer(window, 1, milliseconds, nullptr);
  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}
