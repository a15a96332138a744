// The Windows program, so far only its first box; the window comes with the
// native front end.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  MessageBoxW(nullptr, L"Press arrow keys to move, Enter to shoot. Shoot at the red dots to score points!", L"vantor", MB_OK);
  return 0;
}
