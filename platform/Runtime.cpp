#include "platform/Runtime.h"

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
  keyboard_.OpenBox(AnswerKeysDown());
  ShowMessage(prompt);
  keyboard_.CloseBox();
}

void MsgBox(const std::string& prompt) { Runtime::Current().Message(prompt); }

}  // namespace platform
