// Another program's window that takes the keyboard from the game, for the
// book's player under Wine: it shows and activates itself, and closes when
// its input ends, when Windows gives the keyboard back to the game.
//   take_keyboard.exe < PIPE
#include <windows.h>

#include <cstdio>

namespace {

LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

DWORD WINAPI CloseWhenInputEnds(void* window) {
  while (std::getchar() != EOF) {
  }
  PostMessageW(static_cast<HWND>(window), WM_CLOSE, 0, 0);
  return 0;
}

}  // namespace

int main() {
  WNDCLASSW type{};
  type.lpfnWndProc = &Procedure;
  type.hInstance = GetModuleHandleW(nullptr);
  type.lpszClassName = L"VantorElsewhere";
  RegisterClassW(&type);
  HWND window = CreateWindowW(L"VantorElsewhere", L"Elsewhere", WS_OVERLAPPEDWINDOW, 600, 500, 200, 120, nullptr,
                              nullptr, type.hInstance, nullptr);
  ShowWindow(window, SW_SHOWNORMAL);
  SetForegroundWindow(window);
  CreateThread(nullptr, 0, &CloseWhenInputEnds, window, 0, nullptr);
  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}
