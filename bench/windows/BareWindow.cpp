// The baseline for the start-up time under Wine: a bare Win32 program of the
// game's shape. A box first, then a 465 x 344 window with twenty plain
// STATIC children, two of them moved by a 64 Hz window timer.
#include <windows.h>

#include <string>

namespace {

HWND children[20];
int step = 0;

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER) {
    ++step;
    SetWindowPos(children[0], nullptr, step % 400, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetWindowPos(children[1], nullptr, 200, step % 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    return 0;
  }
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  MessageBoxW(nullptr, L"A box before the window.", L"bare", MB_OK);
  WNDCLASSEXW c{};
  c.cbSize = sizeof c;
  c.lpfnWndProc = WindowProc;
  c.hInstance = instance;
  c.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  c.lpszClassName = L"Bare";
  RegisterClassExW(&c);
  RECT frame{0, 0, 465, 344};
  AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
  HWND window = CreateWindowExW(0, L"Bare", L"bare", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
  for (int i = 0; i < 20; ++i)
    children[i] = CreateWindowExW(0, L"STATIC", (L"child " + std::to_wstring(i)).c_str(), WS_CHILD | WS_VISIBLE,
                                  (i % 5) * 90, (i / 5) * 80, 80, 17, window, nullptr, instance, nullptr);
  SetTimer(window, 1, 16, nullptr);
  ShowWindow(window, show);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
