#include "platform/FreshKeys.h"

namespace platform {

bool FreshKeyRule::Admit(int key, bool press, bool markedRepeat, std::uint64_t at) {
  if (markedRepeat) return false;
  if (!held_.contains(key)) return true;
  if (!press) {
    releasedAt_[key] = at;
    return false;
  }
  const auto released = releasedAt_.find(key);
  if (released == releasedAt_.end()) return false;
  const bool sameMoment = released->second == at;  // a repeat sent as a release and a press
  releasedAt_.erase(released);
  if (sameMoment) return false;
  held_.erase(key);
  return true;
}

}  // namespace platform
