#include "platform/FreshKeys.h"

namespace platform {

bool FreshKeyRule::Admit(int key, bool press, bool markedRepeat, std::uint64_t at) {
  // A key not held when the box opened is the box's, marked a repeat or not:
  // a browser may mark the first press after a release it never saw.
  if (!held_.contains(key)) return true;
  if (markedRepeat) return false;
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
