#pragma once

#include "platform/win32/WindowsApi.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/FieldRaster.h"
#include "platform/Form.h"
#include "platform/Keyboard.h"
#include "platform/ScreenPass.h"

namespace platform::win32 {

// The form as a native top-level window: labels are STATIC controls, text
// boxes EDIT and command buttons BUTTON controls at their design rectangles,
// in the dialog font; a top-level picture box is a child window that shows
// its raster. The layout is fixed: a larger window shows more of the form's
// background. At a display scale of 150 % and more everything is drawn at
// a whole-number multiple, so the field's pixels stay crisp.
class FormWindow final : private Screen {
 public:
  FormWindow(Form& form, HINSTANCE instance);
  ~FormWindow() override;
  FormWindow(const FormWindow&) = delete;
  FormWindow& operator=(const FormWindow&) = delete;

  HWND Handle() const { return window_; }
  ScreenPass& Pass() { return pass_; }
  // Whether a message is on its way to this window or one of its controls.
  bool Owns(HWND hwnd) const { return hwnd == window_ || IsChild(window_, hwnd); }

 private:
  struct Child {
    Control* control;
    HWND hwnd;
    PixelRect place;  // at one pixel per pixel
    COLORREF back = 0, fore = 0;
    HBRUSH brush = nullptr;  // a label's background
    const FieldRaster* field = nullptr;
  };
  // A named box inside a field, to a screen reader: a static text window
  // that paints nothing, so the field's own pixels show through it.
  struct Sprite {
    const FieldRaster* field;
    std::size_t index;
    HWND hwnd;
    PixelRect place;  // at one pixel per pixel; empty while out of view
  };

  // What the pass changes: the window's caption; a child window's look; the
  // focus; the field's pixels; the timers' wake-ups.
  void SetTitle(const std::string& caption) override;
  void Show(const Control& control, const ControlLook& look) override;
  void SetFocus(const Control* control, bool selectText) override;
  void Repaint(const FieldRaster& field, const std::vector<PixelRect>& changed) override;
  void PlaceSprite(const FieldRaster& field, std::size_t sprite, const PixelRect& where, bool cameOrWent) override;
  void WakeTimerIn(std::size_t timer, std::optional<std::chrono::milliseconds> delay) override;

  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK FieldProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK SpriteProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void PaintField(HWND hwnd) const;

  HWND Create(const Control& control);
  // Where controls overlap, the later one in the description shows, as on
  // every front end.
  void Stack();
  Child* Find(const Control& control);
  Child* Find(HWND hwnd);
  void Place(HWND hwnd, const PixelRect& place, UINT flags = 0) const;
  void Place(const Sprite& sprite) const;
  // Scale, font and window size for the display's dots per inch.
  void ApplyDpi(UINT dpi, const RECT* suggested);

  Form& form_;
  HINSTANCE instance_;
  HWND window_ = nullptr;
  HBRUSH background_ = nullptr;
  HFONT font_ = nullptr;
  int scale_ = 1;
  std::vector<Child> children_;      // the controls on the form, in tab order
  std::vector<Sprite> sprites_;      // made as each first comes into view
  bool settingText_ = false;         // a text set by the pass, not typed
  ScreenPass pass_;                  // brings the window up to date after each event
};

}  // namespace platform::win32
