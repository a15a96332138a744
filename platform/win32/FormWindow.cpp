#include "platform/win32/FormWindow.h"

#include <initguid.h>  // the annotation service's ids, defined here
#include <oleacc.h>

#include <algorithm>
#include <chrono>

#include "platform/Pixels.h"
#include "platform/Runtime.h"
#include "platform/Units.h"
#include "platform/win32/Text.h"

namespace platform::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"VantorForm";
constexpr wchar_t kFieldClass[] = L"VantorField";
constexpr DWORD kWindowStyle = WS_OVERLAPPEDWINDOW;
// Timer wake-ups are window timers with these ids, one per form timer.
constexpr UINT_PTR kFirstTimerId = 1;
constexpr UINT kKeepPlace = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;

WNDPROC staticProc = nullptr;  // the system's, under each sprite window's own

COLORREF ToColorRef(Colour rgb) { return static_cast<COLORREF>(rgb & 0xFFFFFF); }

void Register(HINSTANCE instance, const wchar_t* name, WNDPROC proc, HBRUSH background, HICON icon, HICON small) {
  WNDCLASSEXW c{};
  c.cbSize = sizeof c;
  c.lpfnWndProc = proc;
  c.hInstance = instance;
  c.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  c.hbrBackground = background;
  c.hIcon = icon;
  c.hIconSm = small;
  c.lpszClassName = name;
  RegisterClassExW(&c);
}

}  // namespace

FormWindow::FormWindow(Form& form, HINSTANCE instance) : form_(form), instance_(instance), pass_(form, *this) {
  background_ = CreateSolidBrush(ToColorRef(LookOf(form).back));
  const auto icon = [instance](int size) {
    return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
  };
  Register(instance, kWindowClass, &WindowProc, background_, icon(GetSystemMetrics(SM_CXICON)),
           icon(GetSystemMetrics(SM_CXSMICON)));
  Register(instance, kFieldClass, &FieldProc, nullptr, nullptr, nullptr);
  window_ = CreateWindowExW(0, kWindowClass, Wide(form.Caption).c_str(), kWindowStyle | WS_CLIPCHILDREN,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance,
                            this);

  for (const auto& owned : form.Controls()) {
    Control* control = owned.get();
    if (control->Container != nullptr || control->Kind == ControlKind::Timer) continue;
    Child child{control, Create(*control), PixelRectOf(*control)};
    for (const auto& field : pass_.Fields())
      if (&field->Field() == control) child.field = field.get();
    children_.push_back(child);
    SetWindowLongPtrW(child.hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  Stack();
  ApplyDpi(GetDpiForWindow(window_), nullptr);
}

void FormWindow::Stack() {
  for (const auto& control : form_.Controls())
    if (const Child* child = Find(*control)) SetWindowPos(child->hwnd, HWND_TOP, 0, 0, 0, 0, kKeepPlace);
}

FormWindow::~FormWindow() {
  if (IsWindow(window_)) DestroyWindow(window_);
  for (const Child& child : children_)
    if (child.brush != nullptr) DeleteObject(child.brush);
  if (font_ != nullptr) DeleteObject(font_);
  DeleteObject(background_);
}

// Texts and captions come with the first pass. A picture box's window text
// is its name to a screen reader; any other control with a name of its own
// is given it directly, as Windows would otherwise name it after the label
// just before it in the stacking.
HWND FormWindow::Create(const Control& control) {
  const wchar_t* kind = L"STATIC";
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
  DWORD exStyle = 0;
  switch (control.Kind) {
    case ControlKind::Label:
      style |= SS_LEFT | SS_NOPREFIX;
      break;
    case ControlKind::TextBox:
      kind = L"EDIT";
      style |= WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
      exStyle = WS_EX_CLIENTEDGE;
      break;
    case ControlKind::CommandButton:
      kind = L"BUTTON";
      style |= WS_TABSTOP | BS_PUSHBUTTON | BS_NOTIFY;  // BS_NOTIFY: tells when it takes the keyboard
      break;
    default:
      kind = kFieldClass;
  }
  const std::wstring name = Wide(control.AccessibleName);
  HWND hwnd = CreateWindowExW(exStyle, kind, kind == kFieldClass ? name.c_str() : L"", style, 0, 0, 0, 0, window_,
                              nullptr, instance_, nullptr);
  if (kind != kFieldClass && !name.empty()) {
    IAccPropServices* services = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                                   reinterpret_cast<void**>(&services)))) {
      services->SetHwndPropStr(hwnd, OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_NAME, name.c_str());
      services->Release();
    }
  }
  return hwnd;
}

FormWindow::Child* FormWindow::Find(const Control& control) {
  for (Child& child : children_)
    if (child.control == &control) return &child;
  return nullptr;
}

FormWindow::Child* FormWindow::Find(HWND hwnd) {
  for (Child& child : children_)
    if (child.hwnd == hwnd) return &child;
  return nullptr;
}

void FormWindow::Place(HWND hwnd, const PixelRect& r, UINT flags) const {
  SetWindowPos(hwnd, nullptr, r.x * scale_, r.y * scale_, r.width * scale_, r.height * scale_,
               SWP_NOZORDER | SWP_NOACTIVATE | flags);
}

// Never redrawn: what shows there is the field's.
void FormWindow::Place(const Sprite& s) const {
  Place(s.hwnd, s.place, SWP_NOREDRAW | SWP_NOCOPYBITS | (s.place.Empty() ? SWP_HIDEWINDOW : SWP_SHOWWINDOW));
}

void FormWindow::ApplyDpi(UINT dpi, const RECT* suggested) {
  scale_ = WholeScale(dpi / 96.0);
  // The form's font at its size; MS Shell Dlg is what Windows itself sets
  // MS Sans Serif's dialogs in, and scales.
  const FormLook look = LookOf(form_);
  HFONT font = CreateFontW(-look.fontPixels * scale_, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                           L"MS Shell Dlg");
  for (const Child& child : children_) {
    SendMessageW(child.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    Place(child.hwnd, child.place);
  }
  for (const Sprite& sprite : sprites_) Place(sprite);
  if (font_ != nullptr) DeleteObject(font_);
  font_ = font;

  RECT frame{0, 0, look.width * scale_, look.height * scale_};
  AdjustWindowRectExForDpi(&frame, kWindowStyle, FALSE, 0, dpi);
  RECT at{};
  GetWindowRect(window_, &at);
  if (suggested != nullptr) at = *suggested;
  SetWindowPos(window_, nullptr, at.left, at.top, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOZORDER | SWP_NOACTIVATE | (suggested != nullptr ? 0 : SWP_NOMOVE));
  InvalidateRect(window_, nullptr, TRUE);
}

void FormWindow::SetTitle(const std::string& caption) { SetWindowTextW(window_, Wide(caption).c_str()); }

void FormWindow::Show(const Control& control, const ControlLook& look) {
  Child* child = Find(control);
  if (child == nullptr) return;
  if (look.text) {
    settingText_ = true;
    SetWindowTextW(child->hwnd, Wide(*look.text).c_str());
    settingText_ = false;
    // A label's text is its name: a screen reader hears the score change.
    if (control.Kind == ControlKind::Label)
      NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, child->hwnd, OBJID_CLIENT, CHILDID_SELF);
  }
  if (look.colours) {
    if (child->brush != nullptr) DeleteObject(child->brush);
    child->back = ToColorRef(look.colours->first);
    child->fore = ToColorRef(look.colours->second);
    child->brush = CreateSolidBrush(child->back);
    InvalidateRect(child->hwnd, nullptr, TRUE);
  }
  if (look.place) {
    child->place = *look.place;
    Place(child->hwnd, child->place);
  }
  if (look.visible) ShowWindow(child->hwnd, *look.visible ? SW_SHOWNA : SW_HIDE);
  if (look.enabled) EnableWindow(child->hwnd, *look.enabled);
}

void FormWindow::Repaint(const FieldRaster& field, const std::vector<PixelRect>& changed) {
  for (const Child& child : children_) {
    if (child.field != &field) continue;
    for (const PixelRect& r : changed) {
      const RECT rect{r.x * scale_, r.y * scale_, r.Right() * scale_, r.Bottom() * scale_};
      InvalidateRect(child.hwnd, &rect, FALSE);
    }
  }
}

void FormWindow::PlaceSprite(const FieldRaster& field, std::size_t index, const PixelRect& where, bool) {
  auto sprite = std::find_if(sprites_.begin(), sprites_.end(),
                             [&](const Sprite& s) { return s.field == &field && s.index == index; });
  if (sprite == sprites_.end()) {
    const Child* host = Find(field.Field());
    if (host == nullptr) return;
    HWND hwnd = CreateWindowExW(0, L"STATIC", Wide(field.Sprites()[index]->AccessibleName).c_str(),
                                WS_CHILD | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0, host->hwnd, nullptr, instance_, nullptr);
    staticProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SpriteProc)));
    sprite = sprites_.insert(sprites_.end(), Sprite{&field, index, hwnd, {}});
  }
  // Shown and hidden, the window tells a screen reader it came or went.
  sprite->place = where;
  Place(*sprite);
}

void FormWindow::WakeTimerIn(std::size_t timer, std::optional<std::chrono::milliseconds> delay) {
  const UINT_PTR id = kFirstTimerId + timer;
  if (!delay) {
    KillTimer(window_, id);
    return;
  }
  // Window timers wait at least USER_TIMER_MINIMUM.
  SetTimer(window_, id, static_cast<UINT>(std::clamp<long long>(delay->count(), USER_TIMER_MINIMUM, 0x7FFFFFFF)), nullptr);
}

void FormWindow::SetFocus(const Control* control, bool selectText) {
  const HWND hwnd = control != nullptr ? Find(*control)->hwnd : window_;
  ::SetFocus(hwnd);
  if (selectText) SendMessageW(hwnd, EM_SETSEL, 0, -1);
}

LRESULT CALLBACK FormWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  return self->Handle(message, wParam, lParam);
}

LRESULT FormWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: {
      Child* child = Find(reinterpret_cast<HWND>(lParam));
      if (child == nullptr) break;
      if (HIWORD(wParam) == EN_SETFOCUS || HIWORD(wParam) == BN_SETFOCUS) {
        pass_.FocusMovedTo(child->control);
        return 0;
      }
      if (HIWORD(wParam) == BN_CLICKED && Runtime::Current().Click(*child->control)) return 0;
      if (HIWORD(wParam) == EN_CHANGE && !settingText_ &&
          Runtime::Current().Type(*child->control, Narrow(WindowText(child->hwnd))))
        return 0;
      break;
    }
    case WM_CTLCOLORSTATIC: {
      // Labels keep their design colours; a disabled text box looks as
      // Windows draws it.
      const Child* child = Find(reinterpret_cast<HWND>(lParam));
      if (child == nullptr || child->brush == nullptr) break;
      auto* dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, child->fore);
      SetBkColor(dc, child->back);
      return reinterpret_cast<LRESULT>(child->brush);
    }
    case WM_TIMER:
      if (wParam >= kFirstTimerId) {
        pass_.TimerWoke(wParam - kFirstTimerId);
        return 0;
      }
      break;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        // Keys count only while the game window has the keyboard: none
        // sticks down when it goes to a box or another program.
        Runtime::Current().KeyboardLost();
      } else if (const Control* owner = pass_.FocusOwner()) {
        ::SetFocus(Find(*owner)->hwnd);
        return 0;
      }
      break;
    case WM_DPICHANGED:
      ApplyDpi(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_CLOSE:
      DestroyWindow(window_);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK FormWindow::FieldProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<const FormWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self != nullptr && message == WM_PAINT) {
    self->PaintField(hwnd);
    return 0;
  }
  if (message == WM_ERASEBKGND) return 1;  // the paint covers every pixel
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK FormWindow::SpriteProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      ValidateRect(hwnd, nullptr);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_NCHITTEST:
      return HTTRANSPARENT;  // clicks land on the field
    default:
      return CallWindowProcW(staticProc, hwnd, message, wParam, lParam);
  }
}

void FormWindow::PaintField(HWND hwnd) const {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd, &paint);
  for (const Child& child : children_) {
    if (child.hwnd != hwnd || child.field == nullptr) continue;
    const FieldRaster& field = *child.field;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = field.Width();
    info.bmiHeader.biHeight = -field.Height();  // rows top down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    // Each pixel a whole square of screen pixels, never smoothed.
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, 0, 0, field.Width() * scale_, field.Height() * scale_, 0, 0, field.Width(), field.Height(),
                  field.Pixels(), &info, DIB_RGB_COLORS, SRCCOPY);
  }
  EndPaint(hwnd, &paint);
}

}  // namespace platform::win32
