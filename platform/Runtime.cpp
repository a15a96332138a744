#include "platform/Runtime.h"

#include <cmath>
#include <stdexcept>
#include <utility>

namespace platform {
namespace {
Runtime* current = nullptr;
}  // namespace

Runtime::Runtime(std::string appTitle) : appTitle_(std::move(appTitle)), previous_(current) { current = this; }

Runtime::~Runtime() {
  if (current == this) current = previous_;
}

Runtime& Runtime::Current() {
  if (current == nullptr) throw std::logic_error("no front end is running");
  return *current;
}

float Rnd() { return Runtime::Current().Random().Next(); }

std::int16_t GetAsyncKeyState(int vk) { return Runtime::Current().Keys().Query(vk); }

void Runtime::Message(const std::string& prompt) {
  if (pass_ != nullptr) pass_->Run();
  std::optional<std::set<int>> downNow;
  for (int vk : Keyboard::kAnswerKeys)
    if (const std::optional<bool> down = KeyDownNow(vk)) {
      if (!downNow) downNow.emplace();
      if (*down) downNow->insert(vk);
    }
  keyboard_.OpenBox(downNow);
  ShowMessage(prompt, pass_ != nullptr && pass_->FormIsShown());
  keyboard_.CloseBox();
}

KeyOutcome Runtime::Key(int vk, bool down, bool repeat, bool shift, double atMilliseconds) {
  const auto atMicroseconds = static_cast<std::uint64_t>(std::llround(atMilliseconds * 1000));
  if (keyboard_.BoxOpen()) return keyboard_.BoxKey(vk, down, repeat, atMicroseconds);
  keyboard_.Key(vk, down, repeat);
  if (pass_ != nullptr && pass_->FocusKey(vk, down, repeat, shift)) return KeyOutcome::Stop;
  return KeyOutcome::Pass;
}

void Runtime::Open(Form& form, ScreenPass& pass, const std::function<void()>& showWindow) {
  pass_ = &pass;
  pass.Run();
  if (form.Load) pass.Dispatch(form.Load);
  pass.FormShown();
  showWindow();
}

bool Runtime::Click(Control& control) {
  auto* button = dynamic_cast<CommandButton*>(&control);
  if (pass_ == nullptr || button == nullptr || !button->TakesInput()) return false;
  pass_->Dispatch([button] { button->Press(); });
  return true;
}

bool Runtime::Type(Control& control, const std::string& text) {
  auto* box = dynamic_cast<TextBox*>(&control);
  if (pass_ == nullptr || box == nullptr || !box->TakesInput()) return false;
  pass_->Typed(*box, text);
  return true;
}

void MsgBox(const std::string& prompt) { Runtime::Current().Message(prompt); }

}  // namespace platform
