#include "platform/Keyboard.h"

#include <utility>

namespace platform {

void Keyboard::Key(int vk, bool down, bool markedRepeat) {
  if (boxOpen_) return;
  // A repeat, too, shows a key held, though its press came elsewhere.
  if (AnswersABox(vk)) {
    if (down)
      answerKeysHeld_.insert(vk);
    else
      answerKeysHeld_.erase(vk);
  }
  if (markedRepeat) return;
  if (down)
    table_.Press(vk);
  else
    table_.Release(vk);
}

void Keyboard::Lost() {
  table_.ReleaseAll();
  answerKeysHeld_.clear();
}

void Keyboard::OpenBox(const std::optional<std::set<int>>& downNow) {
  std::set<int> held = answerKeysHeld_;
  if (downNow)
    for (int vk : *downNow)
      if (AnswersABox(vk)) held.insert(vk);
  box_ = FreshKeyRule(std::move(held));
  boxOpen_ = true;
  spaceDownInBox_ = false;
  Lost();
}

bool Keyboard::BoxAdmits(int vk, bool down, bool markedRepeat, std::uint64_t at) {
  if (!boxOpen_ || !AnswersABox(vk)) return true;
  return box_.Admit(vk, down, markedRepeat, at);
}

KeyOutcome Keyboard::BoxKey(int vk, bool down, bool markedRepeat, std::uint64_t at) {
  if (vk == kTab) return KeyOutcome::Stop;
  if (!boxOpen_ || !AnswersABox(vk)) return KeyOutcome::Pass;
  if (!BoxAdmits(vk, down, markedRepeat, at)) return KeyOutcome::Stop;
  if (vk != kSpace) return down ? KeyOutcome::CloseBox : KeyOutcome::Pass;
  if (down) spaceDownInBox_ = true;
  return !down && std::exchange(spaceDownInBox_, false) ? KeyOutcome::CloseBox : KeyOutcome::Pass;
}

}  // namespace platform
