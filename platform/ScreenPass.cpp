#include "platform/ScreenPass.h"

#include "platform/Conversions.h"
#include "platform/Keyboard.h"

namespace platform {
namespace {

template <class T>
bool Changed(std::optional<T>& last, const T& now) {
  if (last && *last == now) return false;
  last = now;
  return true;
}

}  // namespace

FormLook LookOf(const Form& form) {
  return {ToPixels(form.ClientWidth), ToPixels(form.ClientHeight), ResolveColour(form.BackColor),
          ResolveColour(form.ForeColor), form.Font.pixels};
}

ScreenPass::ScreenPass(Form& form, Screen& screen, Now now)
    : form_(form), screen_(screen), now_(std::move(now)), focus_(form) {
  for (const auto& control : form.Controls()) {
    if (control->Container != nullptr) continue;
    if (auto* timer = dynamic_cast<Timer*>(control.get())) {
      timers_.Drive(*timer);
      continue;
    }
    shown_.emplace_back(control.get());
    if (auto* box = dynamic_cast<PictureBox*>(control.get())) {
      std::vector<PictureBox*> inside;
      for (const auto& c : form.Controls())
        if (c->Container == box)
          if (auto* sprite = dynamic_cast<PictureBox*>(c.get())) inside.push_back(sprite);
      std::vector<PlacedSprite>& named = spritesShown_.emplace_back();
      for (std::size_t i = 0; i < inside.size(); ++i)
        if (!inside[i]->AccessibleName.empty()) named.push_back({i, {}});
      fields_.push_back(std::make_unique<FieldRaster>(*box, std::move(inside)));
    }
  }
}

const std::string* ScreenPass::TextOf(const Control& control) {
  if (auto* label = dynamic_cast<const Label*>(&control)) return &label->Caption;
  if (auto* box = dynamic_cast<const TextBox*>(&control)) return &box->Text;
  if (auto* button = dynamic_cast<const CommandButton*>(&control)) return &button->Caption;
  return nullptr;
}

void ScreenPass::Dispatch(const std::function<void()>& handler) {
  handler();
  if (afterHandler_) afterHandler_();
  Run();
}

void ScreenPass::Typed(TextBox& box, const std::string& text) {
  for (Shown& shown : shown_)
    if (shown.control == &box) shown.look.text = text;
  Dispatch([&box, &text] { box.Text = text; });
}

void ScreenPass::Run() {
  if (Changed(title_, form_.Caption)) screen_.SetTitle(form_.Caption);
  std::vector<const Control*> enabledNow;
  for (Shown& shown : shown_) {
    const Control& c = *shown.control;
    ControlLook changed;
    const bool textShownBefore = shown.look.text.has_value();
    if (const std::string* text = TextOf(c); text != nullptr && Changed(shown.look.text, *text)) changed.text = *text;
    if (auto* label = dynamic_cast<const Label*>(&c)) {
      const std::pair colours{ResolveColour(label->BackColor), ResolveColour(label->ForeColor)};
      if (Changed(shown.look.colours, colours)) changed.colours = colours;
    }
    if (Changed(shown.look.place, PixelRectOf(c))) changed.place = shown.look.place;
    const bool visibleBefore = shown.look.visible.value_or(true);
    if (Changed(shown.look.visible, c.Visible)) changed.visible = c.Visible;
    if (Changed(shown.look.enabled, c.Enabled)) {
      changed.enabled = c.Enabled;
      if (c.Enabled) enabledNow.push_back(&c);
    }
    if (changed != ControlLook{}) screen_.Show(c, changed);
    if (changed.text && textShownBefore) AnnounceText(c, *changed.text);
    if (changed.visible.value_or(false) && !visibleBefore && !c.Announce.empty() && c.Kind == ControlKind::PictureBox)
      screen_.Announce(c.Announce);
  }
  if (formShown_) {
    focus_.Settle(enabledNow);
    ShowFocus();
  }
  for (std::size_t f = 0; f < fields_.size(); ++f) {
    if (const std::vector<PixelRect> changed = fields_[f]->Update(); !changed.empty())
      screen_.Repaint(*fields_[f], changed);
    PlaceSprites(*fields_[f], spritesShown_[f]);
  }
  if (timers_.Sync(now_())) ArmTimers();
}

// News is what the game changed. The control with the keyboard is left out:
// its text changes as the player types, and a screen reader echoes that.
void ScreenPass::AnnounceText(const Control& control, const std::string& text) {
  if (control.Announce.empty() || !control.Shown() || &control == focus_.Owner()) return;
  if (control.AnnounceCountFrom > 0) {
    const std::optional<double> count = TextToNumber(text);
    if (!count || *count < 1 || *count > control.AnnounceCountFrom) return;
  }
  std::string message = control.Announce;
  if (const auto at = message.find('%'); at != std::string::npos) message.replace(at, 1, text);
  screen_.Announce(message);
}

void ScreenPass::PlaceSprites(const FieldRaster& field, std::vector<PlacedSprite>& shown) {
  for (PlacedSprite& placed : shown) {
    PixelRect now = field.Sprites()[placed.sprite]->Shown() ? field.SpriteRect(placed.sprite) : PixelRect{};
    if (now.Empty()) now = PixelRect{};  // past the field's edge, as good as hidden
    if (now == placed.place) continue;
    const bool cameOrWent = now.Empty() != placed.place.Empty();
    placed.place = now;
    screen_.PlaceSprite(field, placed.sprite, now, cameOrWent);
  }
}

void ScreenPass::FormShown() {
  formShown_ = true;
  focus_.FormShown();
  ShowFocus();
}

void ScreenPass::FocusMovedTo(const Control* control) {
  focus_.MovedTo(control);
  focusShown_ = control;
}

void ScreenPass::ShowFocus() {
  if (focus_.Owner() == focusShown_) return;
  focusShown_ = focus_.Owner();
  screen_.SetFocus(focusShown_, focus_.SelectsText());
}

bool ScreenPass::FocusKey(int vk, bool down, bool repeat, bool shift) {
  constexpr int kTab = Keyboard::kTab, kEnter = Keyboard::kEnter, kSpace = Keyboard::kSpace;
  if (vk == kTab) {
    if (down) {
      focus_.Step(!shift);
      // Tabbing onto the control that has it still selects its text.
      focusShown_ = nullptr;
      ShowFocus();
    }
    return true;
  }
  auto* button = dynamic_cast<CommandButton*>(const_cast<Control*>(focus_.Owner()));
  if (vk == kSpace && !down && spaceDownOn_ != nullptr) {
    const bool same = spaceDownOn_ == button;
    spaceDownOn_ = nullptr;
    if (same) Dispatch([button] { button->Press(); });
    return true;
  }
  if (button == nullptr || !down || (vk != kEnter && vk != kSpace)) return false;
  // A held key's repeats never press the button again.
  if (repeat) return true;
  if (vk == kSpace)
    spaceDownOn_ = button;
  else
    Dispatch([button] { button->Press(); });
  return true;
}

void ScreenPass::ArmTimers() {
  const auto now = now_();
  for (std::size_t i = 0; i < timers_.Count(); ++i) screen_.WakeTimerIn(i, timers_.WakeIn(i, now));
}

bool ScreenPass::TimerWoke(std::size_t timer) {
  const auto now = now_();
  Timer* due = timers_.Woke(timer, now);
  screen_.WakeTimerIn(timer, timers_.WakeIn(timer, now));
  if (due != nullptr) Dispatch([due] { due->RaiseTimer(); });
  return due != nullptr;
}

}  // namespace platform
