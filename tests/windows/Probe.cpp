// Reads the game's windows as a screen reader would, for the checks that
// play it under Wine: the form's caption, each control's kind, place, text,
// visibility and enabled state, which control has the focus, and any message
// box with its caption and text. One line each:
//   form "CAPTION" shown|hidden WIDTHxHEIGHT   (the client area)
//   control KIND X,Y "TEXT" shown|hidden enabled|disabled
//   sprite "NAME" X,Y shown|hidden       (a named box in the field, as a screen reader finds it)
//   focus KIND "TEXT"
//   box "CAPTION" "TEXT"
//   foreground KIND "CAPTION"                  (the window with the keyboard)
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string Utf8(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), size, nullptr, nullptr);
  out.resize(out.size() - 1);
  return out;
}

std::string Text(HWND hwnd) {
  wchar_t buffer[512];
  // WM_GETTEXT reaches another process's controls, where GetWindowText does not.
  SendMessageTimeoutW(hwnd, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 2000, nullptr);
  buffer[511] = 0;
  return Utf8(buffer);
}

std::string Kind(HWND hwnd) {
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  return Utf8(name);
}

BOOL CALLBACK Control(HWND hwnd, LPARAM form) {
  if (GetParent(hwnd) != reinterpret_cast<HWND>(form)) return TRUE;
  RECT r{};
  GetWindowRect(hwnd, &r);
  MapWindowPoints(nullptr, reinterpret_cast<HWND>(form), reinterpret_cast<POINT*>(&r), 2);
  std::printf("control %s %ld,%ld \"%s\" %s %s\n", Kind(hwnd).c_str(), r.left, r.top, Text(hwnd).c_str(),
              IsWindowVisible(hwnd) ? "shown" : "hidden", IsWindowEnabled(hwnd) ? "enabled" : "disabled");
  return TRUE;
}

BOOL CALLBACK Sprite(HWND hwnd, LPARAM form) {
  if (Kind(GetParent(hwnd)) != "VantorField") return TRUE;
  RECT r{};
  GetWindowRect(hwnd, &r);
  MapWindowPoints(nullptr, reinterpret_cast<HWND>(form), reinterpret_cast<POINT*>(&r), 2);
  std::printf("sprite \"%s\" %ld,%ld %s\n", Text(hwnd).c_str(), r.left, r.top, IsWindowVisible(hwnd) ? "shown" : "hidden");
  return TRUE;
}

BOOL CALLBACK BoxText(HWND hwnd, LPARAM) {
  if (Kind(hwnd) == "Static" && !Text(hwnd).empty()) std::printf(" \"%s\"", Text(hwnd).c_str());
  return TRUE;
}

BOOL CALLBACK TopLevel(HWND hwnd, LPARAM) {
  const std::string kind = Kind(hwnd);
  if (kind == "VantorForm") {
    RECT client{};
    GetClientRect(hwnd, &client);
    std::printf("form \"%s\" %s %ldx%ld\n", Text(hwnd).c_str(), IsWindowVisible(hwnd) ? "shown" : "hidden",
                client.right, client.bottom);
    EnumChildWindows(hwnd, &Control, reinterpret_cast<LPARAM>(hwnd));
    EnumChildWindows(hwnd, &Sprite, reinterpret_cast<LPARAM>(hwnd));
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(hwnd, nullptr), &info) && info.hwndFocus != nullptr &&
        GetParent(info.hwndFocus) == hwnd)
      std::printf("focus %s \"%s\"\n", Kind(info.hwndFocus).c_str(), Text(info.hwndFocus).c_str());
  } else if (kind == "#32770" && IsWindowVisible(hwnd)) {
    std::printf("box \"%s\"", Text(hwnd).c_str());
    EnumChildWindows(hwnd, &BoxText, 0);
    std::printf("\n");
  }
  return TRUE;
}

}  // namespace

int main() {
  // Unaware of DPI, the probe would read the game's places and sizes scaled
  // back to 96 dpi where Wine runs at another.
  SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  EnumWindows(&TopLevel, 0);
  if (HWND foreground = GetForegroundWindow())
    std::printf("foreground %s \"%s\"\n", Kind(foreground).c_str(), Text(foreground).c_str());
  return 0;
}
