// Saves the Windows window's client area in the README's scene, as a 32-bit
// bitmap, to compare with the desktop's: take_screenshot OUTPUT.bmp
// Fails if the field on the screen is not the composed field, each pixel a
// whole square at the window's scale: colours, orientation, place, scale.
#include <cstdio>
#include <vector>

#include "app/Form1.h"
#include "platform/win32/Win32FrontEnd.h"
#include "scene/Form1Description.h"
#include "tools/ScreenshotScene.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: take_screenshot OUTPUT.bmp\n");
    return 2;
  }
  // As the game's manifest makes it: unaware, the window would be drawn at
  // 96 dpi and stretched, and the client area read at its unscaled size.
  SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  platform::win32::Win32FrontEnd front(scene::kProjectTitle, GetModuleHandleW(nullptr));
  front.AnswerMessageBoxes([](const std::string&, const std::string&) {});
  Form1 form;
  front.Show(form, SW_SHOWNORMAL);
  PlayScreenshotScene(form, front.Keys(), [&](const std::function<void()>& handler) { front.Dispatch(handler); });
  HWND window = front.Window();
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);

  RECT client{};
  GetClientRect(window, &client);
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = client.right;
  header.biHeight = -client.bottom;  // rows top down
  header.biPlanes = 1;
  header.biBitCount = 32;
  header.biCompression = BI_RGB;
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(client.right) * client.bottom);
  HDC screen = GetDC(window);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
  SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, client.right, client.bottom, screen, 0, 0, SRCCOPY);
  GetDIBits(memory, bitmap, 0, static_cast<UINT>(client.bottom), pixels.data(),
            reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
  DeleteDC(memory);
  DeleteObject(bitmap);
  ReleaseDC(window, screen);

  // The field's last row lies under the strip's controls, as on the desktop.
  const platform::FieldRaster& field = front.Field();
  const int scale = client.right / field.Width();
  long differ = 0;
  for (int y = 0; y < field.Height() - 1; ++y)
    for (int x = 0; x < field.Width(); ++x)
      for (int dy = 0; dy < scale; ++dy)
        for (int dx = 0; dx < scale; ++dx)
          differ += ((pixels[static_cast<std::size_t>(y * scale + dy) * client.right + x * scale + dx] ^
                      field.At(x, y)) & 0xFFFFFF) != 0;
  std::printf("field at scale %d: %ld screen pixels differ from the composed field\n", scale, differ);

  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size() * 4);
  std::FILE* out = std::fopen(argv[1], "wb");
  if (out == nullptr) return 1;
  std::fwrite(&file, sizeof file, 1, out);
  std::fwrite(&header, sizeof header, 1, out);
  std::fwrite(pixels.data(), 4, pixels.size(), out);
  return std::fclose(out) == 0 && differ == 0 ? 0 : 1;
}
