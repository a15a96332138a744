// Reads the game's windows as a screen reader would, for the book's player
// under Wine: for each line it reads, one line of JSON (it stays running, as
// starting a program under Wine takes longer than a game's last second):
//   {"form": {"title", "size" (the client area), "origin" (its screen place), "dpi"} or null,
//    "controls": [{"kind", "place", "size", "text", "shown", "enabled", "focus", "selected"}],
//    "sprites": [{"name", "shown"}], "box": {"caption", "prompt"} or null, "foreground": KIND}
// Places are device pixels from the form's client corner. Naming the controls
// is the driver's, by kind and place.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string Json(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8.data(), size, nullptr, nullptr);
  utf8.resize(utf8.size() - 1);
  std::string out = "\"";  // the game's texts are single lines
  for (char c : utf8) out += c == '"' || c == '\\' ? std::string{'\\', c} : std::string{c};
  return out + "\"";
}

std::wstring Text(HWND hwnd) {
  wchar_t buffer[512] = {};
  // WM_GETTEXT reaches another process's controls, where GetWindowText does not.
  SendMessageTimeoutW(hwnd, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 2000, nullptr);
  buffer[511] = 0;
  return buffer;
}

std::wstring Kind(HWND hwnd) {
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  return name;
}

const char* Bool(bool value) { return value ? "true" : "false"; }

HWND form = nullptr, box = nullptr, focus = nullptr;
const char* separator = "";

BOOL CALLBACK Control(HWND hwnd, LPARAM) {
  if (GetParent(hwnd) != form) return TRUE;
  RECT r{};
  GetWindowRect(hwnd, &r);
  MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&r), 2);
  const std::wstring text = Text(hwnd);
  DWORD_PTR range = 0;  // a button's is none
  if (hwnd == focus) SendMessageTimeoutW(hwnd, EM_GETSEL, 0, 0, SMTO_ABORTIFHUNG, 2000, &range);
  const bool selected = range != 0 && LOWORD(range) == 0 && HIWORD(range) == text.size();
  std::printf("%s{\"kind\": %s, \"place\": [%ld, %ld], \"size\": [%ld, %ld], \"text\": %s, \"shown\": %s, "
              "\"enabled\": %s, \"focus\": %s, \"selected\": %s}",
              separator, Json(Kind(hwnd)).c_str(), r.left, r.top, r.right - r.left, r.bottom - r.top,
              Json(text).c_str(), Bool(IsWindowVisible(hwnd)), Bool(IsWindowEnabled(hwnd)), Bool(hwnd == focus),
              Bool(selected));
  separator = ",";
  return TRUE;
}

BOOL CALLBACK Sprite(HWND hwnd, LPARAM) {
  if (GetParent(GetParent(hwnd)) != form || Kind(GetParent(hwnd)) != L"VantorField") return TRUE;
  std::printf("%s{\"name\": %s, \"shown\": %s}", separator, Json(Text(hwnd)).c_str(),
              Bool(IsWindowVisible(hwnd)));
  separator = ",";
  return TRUE;
}

BOOL CALLBACK Prompt(HWND hwnd, LPARAM prompt) {
  if (Kind(hwnd) != L"Static" || Text(hwnd).empty()) return TRUE;
  *reinterpret_cast<std::wstring*>(prompt) = Text(hwnd);
  return FALSE;
}

BOOL CALLBACK TopLevel(HWND hwnd, LPARAM) {
  const std::wstring kind = Kind(hwnd);
  if (kind == L"VantorForm") form = hwnd;
  if (kind == L"#32770" && IsWindowVisible(hwnd)) box = hwnd;
  return TRUE;
}

void Snapshot() {
  form = box = focus = nullptr;
  EnumWindows(&TopLevel, 0);
  std::printf("{\"form\": ");
  if (form != nullptr) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(form, nullptr), &info)) focus = info.hwndFocus;
    RECT client{};
    GetClientRect(form, &client);
    POINT origin{};
    ClientToScreen(form, &origin);
    std::printf("{\"title\": %s, \"size\": [%ld, %ld], \"origin\": [%ld, %ld], \"dpi\": %u}",
                Json(Text(form)).c_str(), client.right, client.bottom, origin.x, origin.y, GetDpiForWindow(form));
  } else {
    std::printf("null");
  }
  std::printf(", \"controls\": [");
  separator = "";
  if (form != nullptr) EnumChildWindows(form, &Control, 0);
  std::printf("], \"sprites\": [");
  separator = "";
  if (form != nullptr) EnumChildWindows(form, &Sprite, 0);
  std::printf("], \"box\": ");
  std::wstring prompt;
  if (box != nullptr) EnumChildWindows(box, &Prompt, reinterpret_cast<LPARAM>(&prompt));
  if (box != nullptr)
    std::printf("{\"caption\": %s, \"prompt\": %s}", Json(Text(box)).c_str(), Json(prompt).c_str());
  else
    std::printf("null");
  HWND foreground = GetForegroundWindow();
  std::printf(", \"foreground\": %s}\n", foreground ? Json(Kind(foreground)).c_str() : "null");
}

}  // namespace

int main() {
  // Unaware of DPI, the probe would read the game's places and sizes scaled
  // back to 96 dpi where Wine runs at another.
  SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  for (int c; (c = std::getchar()) != EOF;)
    if (c == '\n') {
      Snapshot();
      std::fflush(stdout);
    }
  return 0;
}
