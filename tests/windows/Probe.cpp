// The book's eyes and hands under Wine, in two ways:
//   vantor_probe.exe          reads the running game as a screen reader would: for each
//                             line it reads, one line of JSON in the book's names. It stays
//                             running, as starting a program under Wine takes longer than a
//                             game's last second. The line "away" first opens another
//                             program's window, which takes the keyboard; "back" closes it.
//   vantor_probe.exe field    plays the README's scene in a Windows window of its own; fails
//                             unless the field on the screen is the composed field, each
//                             pixel a whole square at the window's scale.
#include <iostream>
#include <map>

#include "app/Form1.h"
#include "platform/win32/Text.h"
#include "platform/win32/Win32FrontEnd.h"
#include "scene/Form1Description.h"
#include "tools/ScreenshotScene.h"

namespace {

using platform::win32::Narrow;

std::string Json(const std::string& text) {
  std::string out = "\"";  // the game's texts are single lines
  for (char c : text) out += c == '"' || c == '\\' ? std::string{'\\', c} : std::string{c};
  return out + '"';
}

std::string Text(HWND hwnd) {
  wchar_t buffer[512] = {};
  // WM_GETTEXT reaches another process's controls, where GetWindowText does not.
  SendMessageTimeoutW(hwnd, WM_GETTEXT, 511, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 2000, nullptr);
  return Narrow(buffer);
}

std::string Kind(HWND hwnd) {
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  return Narrow(name);
}

std::string Bool(bool value) { return value ? "true" : "false"; }

std::string Pair(long a, long b) { return "[" + std::to_string(a) + ", " + std::to_string(b) + "]"; }

// The form: its title, size, controls and the field's sprites, by the names the description gives them.
std::string Form(HWND form) {
  const platform::FormDescription& description = scene::Form1Description();
  std::map<std::string, int> sprites;  // how many of each are shown
  for (const auto& d : description.controls)
    if (d.container != description.name && !d.accessibleName.empty()) sprites[std::string(d.accessibleName)] = 0;
  GUITHREADINFO info{.cbSize = sizeof info};
  GetGUIThreadInfo(GetWindowThreadProcessId(form, nullptr), &info);
  RECT client{};
  GetClientRect(form, &client);
  std::string out = ", \"title\": " + Json(Text(form)) + ", \"size\": " + Pair(client.right, client.bottom);
  std::string focus = "null", selected = "false";
  // The form stacks its controls in the description's order, the last on top.
  HWND c = GetWindow(GetWindow(form, GW_CHILD), GW_HWNDLAST);
  for (const auto& d : description.controls) {
    if (d.kind == platform::ControlKind::Timer || d.container != description.name || c == nullptr) continue;
    RECT r{};  // on the screen, then from the form's inside corner
    GetWindowRect(c, &r);
    const POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&r), 2);
    const std::string name = Json(std::string(d.name)), text = Text(c);
    out += ", " + name + ": {\"text\": " + Json(text) + ", \"shown\": " + Bool(IsWindowVisible(c)) +
           ", \"enabled\": " + Bool(IsWindowEnabled(c)) + ", \"place\": " + Pair(r.left, r.top) +
           ", \"centre\": " + Pair(centre.x, centre.y) + "}";
    if (c == info.hwndFocus) {
      DWORD_PTR range = 0;  // a button's is none
      SendMessageTimeoutW(c, EM_GETSEL, 0, 0, SMTO_ABORTIFHUNG, 2000, &range);
      focus = name;
      selected = Bool(range != 0 && LOWORD(range) == 0 && HIWORD(range) == platform::win32::Wide(text).size());
    }
    if (Kind(c) == "VantorField")
      for (HWND s = GetWindow(c, GW_CHILD); s != nullptr; s = GetWindow(s, GW_HWNDNEXT))
        sprites[Text(s)] += IsWindowVisible(s);
    c = GetWindow(c, GW_HWNDPREV);
  }
  out += ", \"focus\": " + focus + ", \"selected\": " + selected + ", \"sprites\": {";
  for (const auto& [sprite, shown] : sprites)
    out += (out.back() == '{' ? "" : ", ") + Json(sprite) + ": " + std::to_string(shown);
  return out + "}";
}

std::string Box(HWND box) {
  std::string prompt;  // the box's one text; its icon is a text window with none
  for (HWND c = GetWindow(box, GW_CHILD); c != nullptr && prompt.empty(); c = GetWindow(c, GW_HWNDNEXT))
    if (Kind(c) == "Static") prompt = Text(c);
  return "{\"caption\": " + Json(Text(box)) + ", \"prompt\": " + Json(prompt) + "}";
}

std::string Read() {
  HWND form = FindWindowW(L"VantorForm", nullptr), box = FindWindowW(L"#32770", nullptr);
  std::string out = "{\"box\": " + (box != nullptr && IsWindowVisible(box) ? Box(box) : "null");
  if (form != nullptr) out += Form(form);
  HWND foreground = GetForegroundWindow();
  return out + ", \"foreground\": " + (foreground ? Json(Kind(foreground)) : "null") + "}";
}

// Another program's window, that takes the keyboard until it is told to quit.
DWORD WINAPI Elsewhere(void*) {
  WNDCLASSW type{.lpfnWndProc = &DefWindowProcW, .hInstance = GetModuleHandleW(nullptr),
                 .lpszClassName = L"VantorElsewhere"};
  RegisterClassW(&type);
  HWND window = CreateWindowW(type.lpszClassName, L"Elsewhere", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 500, 200,
                              120, nullptr, nullptr, type.hInstance, nullptr);
  SetForegroundWindow(window);
  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  DestroyWindow(window);  // the keyboard goes back as it closes
  return 0;
}

int Probe() {
  for (std::string line; std::getline(std::cin, line);) {
    if (line == "away") CloseHandle(CreateThread(nullptr, 0, &Elsewhere, nullptr, 0, nullptr));
    if (line == "back") PostMessageW(FindWindowW(L"VantorElsewhere", nullptr), WM_QUIT, 0, 0);
    std::cout << Read() << std::endl;
  }
  return 0;
}

int CompareField() {
  platform::win32::Win32FrontEnd front(scene::kProjectTitle, GetModuleHandleW(nullptr));
  front.AnswerMessageBoxes([](const std::string&, const std::string&) {});
  Form1 form;
  front.Show(form, SW_SHOWNORMAL);
  PlayScreenshotScene(form, front.Keys(), [&](const std::function<void()>& handler) { front.Dispatch(handler); });
  HWND window = front.Window();
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);

  RECT client{};
  GetClientRect(window, &client);
  BITMAPINFO info{.bmiHeader = {.biSize = sizeof info.bmiHeader, .biWidth = client.right,
                                .biHeight = -client.bottom, .biPlanes = 1, .biBitCount = 32}};  // rows top down
  void* bits = nullptr;
  HDC screen = GetDC(window), memory = CreateCompatibleDC(screen);
  SelectObject(memory, CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  BitBlt(memory, 0, 0, client.right, client.bottom, screen, 0, 0, SRCCOPY);
  const auto* pixels = static_cast<const std::uint32_t*>(bits);

  // The field's last row lies under the strip's controls, as on the desktop.
  const platform::FieldRaster& field = front.Field();
  const int scale = client.right / field.Width();
  long differ = 0;
  for (int y = 0; y < field.Height() * scale - scale; ++y)
    for (int x = 0; x < field.Width() * scale; ++x)
      differ += ((pixels[y * client.right + x] ^ field.At(x / scale, y / scale)) & 0xFFFFFF) != 0;
  std::cout << "field at scale " << scale << ": " << differ << " screen pixels differ from the composed field\n";
  return differ == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char**) {
  // As the game's manifest makes it: unaware, the probe would read the game's
  // places at 96 dpi, and its own window would be drawn at 96 dpi and stretched.
  SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  return argc > 1 ? CompareField() : Probe();
}
