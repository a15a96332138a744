#include "platform/web/WebFrontEnd.h"

#include <emscripten.h>


#include "platform/Pixels.h"
#include "platform/Units.h"

// The page's side of each call: front.js defines Module.page before the game
// starts.
EM_JS(void, PageForm, (int width, int height, int back, int fore, int fontPixels), {
  Module.page.form(width, height, back, fore, fontPixels);
});
EM_JS(void, PageAdd, (int id, int kind, const char* name, const char* accessibleName, int labelFor, int tabIndex), {
  Module.page.add(id, kind, UTF8ToString(name), UTF8ToString(accessibleName), labelFor, tabIndex);
});
EM_JS(void, PageTitle, (const char* caption), { Module.page.title(UTF8ToString(caption)); });
EM_JS(void, PageText, (int id, const char* text), { Module.page.text(id, UTF8ToString(text)); });
EM_JS(void, PageColours, (int id, int back, int fore), { Module.page.colours(id, back, fore); });
EM_JS(void, PagePlace, (int id, int x, int y, int width, int height), { Module.page.place(id, x, y, width, height); });
EM_JS(void, PageVisible, (int id, int visible), { Module.page.visible(id, visible != 0); });
EM_JS(void, PageEnabled, (int id, int enabled), { Module.page.enabled(id, enabled != 0); });
EM_JS(void, PageFocus, (int id, int selectText), { Module.page.focus(id, selectText != 0); });
EM_JS(void, PagePaint, (int id, const void* pixels, int stride, int x, int y, int width, int height), {
  Module.page.paint(id, HEAPU8, pixels, stride, x, y, width, height);
});
EM_JS(void, PageSprite, (int id, int index, const char* name, int x, int y, int width, int height), {
  Module.page.sprite(id, index, UTF8ToString(name), x, y, width, height);
});
EM_JS(void, PageWakeTimer, (int timer, int delayMs), { Module.page.wakeTimer(timer, delayMs); });
EM_ASYNC_JS(void, PageDialog, (const char* caption, const char* prompt), {
  await Module.page.dialog(UTF8ToString(caption), UTF8ToString(prompt));
});

namespace platform::web {
namespace {

// 0xRRGGBB, as the page's colours are written.
int Css(Colour colour) { return RedOf(colour) << 16 | GreenOf(colour) << 8 | BlueOf(colour); }

}  // namespace

// The page as the screen of the pass after each event: each call changes
// one element.
class PageScreen final : public Screen {
 public:
  explicit PageScreen(Form& form) : form_(form), pass_(form, *this) {}
  int IdOf(const Control& control) const { return static_cast<int>(form_.IndexOf(control)); }
  Form& TheForm() const { return form_; }
  ScreenPass& Pass() { return pass_; }

  void SetTitle(const std::string& caption) override { PageTitle(caption.c_str()); }
  void Show(const Control& c, const ControlLook& look) override {
    const int id = IdOf(c);
    if (look.text) PageText(id, look.text->c_str());
    if (look.colours) PageColours(id, Css(look.colours->first), Css(look.colours->second));
    if (const auto& r = look.place) PagePlace(id, r->x, r->y, r->width, r->height);
    if (look.visible) PageVisible(id, *look.visible);
    if (look.enabled) PageEnabled(id, *look.enabled);
  }
  void SetFocus(const Control* c, bool selectText) override { PageFocus(c != nullptr ? IdOf(*c) : -1, selectText); }

  void Repaint(const FieldRaster& field, const std::vector<PixelRect>& changed) override {
    const int id = IdOf(field.Field());
    for (const PixelRect& r : changed)
      PagePaint(id, field.Pixels() + static_cast<std::size_t>(r.y) * field.Width() + r.x, field.Width(), r.x, r.y,
                r.width, r.height);
  }

  // A screen reader finds the named boxes inside while they show.
  void PlaceSprite(const FieldRaster& field, std::size_t i, const PixelRect& r, bool) override {
    PageSprite(IdOf(field.Field()), static_cast<int>(i), field.Sprites()[i]->AccessibleName.c_str(), r.x, r.y,
               r.width, r.height);
  }

  void WakeTimerIn(std::size_t timer, std::optional<std::chrono::milliseconds> delay) override {
    PageWakeTimer(static_cast<int>(timer), delay ? static_cast<int>(delay->count()) : -1);
  }

 private:
  Form& form_;
  ScreenPass pass_;
};

WebFrontEnd::WebFrontEnd(std::string appTitle) : Runtime(std::move(appTitle)) {}

WebFrontEnd::~WebFrontEnd() = default;

void WebFrontEnd::Show(Form& form) {
  page_ = std::make_unique<PageScreen>(form);
  const FormLook look = LookOf(form);
  PageForm(look.width, look.height, Css(look.back), Css(look.fore), look.fontPixels);
  for (const auto& control : form.Controls()) {
    const Control& c = *control;
    if (c.Container != nullptr || c.Kind == ControlKind::Timer) continue;
    const Control* captioned = form.CaptionedBy(c);
    PageAdd(page_->IdOf(c), static_cast<int>(c.Kind), c.Name.c_str(), c.AccessibleName.c_str(),
            captioned != nullptr ? page_->IdOf(*captioned) : -1, c.TabIndex);
  }
  Open(form, page_->Pass(), [] {});  // the page shows already
}

ScreenPass& WebFrontEnd::Pass() const { return page_->Pass(); }

Control* WebFrontEnd::ControlAt(int index) const {
  const auto& controls = page_->TheForm().Controls();
  return index >= 0 && static_cast<std::size_t>(index) < controls.size() ? controls[index].get() : nullptr;
}

void WebFrontEnd::ShowMessage(const std::string& prompt, bool) { PageDialog(AppTitle().c_str(), prompt.c_str()); }

}  // namespace platform::web

// What the page calls.
extern "C" {
using platform::web::WebFrontEnd;
// What the page does with the key next: 0 lets it be, 1 stops it, 2 closes
// the dialog.
EMSCRIPTEN_KEEPALIVE int vantor_key(int vk, int down, int repeat, int shift, double at) {
  return static_cast<int>(WebFrontEnd::Current().Key(vk, down != 0, repeat != 0, shift != 0, at));
}
EMSCRIPTEN_KEEPALIVE int vantor_whole_scale(double ratio, int width, double room) {
  return platform::WholeScale(ratio, width, room);
}
EMSCRIPTEN_KEEPALIVE void vantor_focus_moved(int control) {
  WebFrontEnd::Current().Pass().FocusMovedTo(WebFrontEnd::Current().ControlAt(control));
}
EMSCRIPTEN_KEEPALIVE void vantor_keyboard_lost() { WebFrontEnd::Current().KeyboardLost(); }
EMSCRIPTEN_KEEPALIVE void vantor_click(int control) {
  if (auto* c = WebFrontEnd::Current().ControlAt(control)) WebFrontEnd::Current().Click(*c);
}
EMSCRIPTEN_KEEPALIVE void vantor_type(int control, const char* text) {
  if (auto* c = WebFrontEnd::Current().ControlAt(control)) WebFrontEnd::Current().Type(*c, text);
}
// Whether the wake-up raised a tick, for the site's measurements.
EMSCRIPTEN_KEEPALIVE int vantor_timer_woke(int timer) {
  return WebFrontEnd::Current().Pass().TimerWoke(static_cast<std::size_t>(timer));
}
}
