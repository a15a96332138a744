#pragma once

#include <cstdint>
#include <map>
#include <set>

namespace platform {

// A message box takes the keys that answer it (Enter, Space, Escape) only
// from a press that began while it was open. Fire is Enter: held through the
// end of a game, its repeats would dismiss the result before the player ever
// saw it. Not every window system marks repeats: X may deliver a held key's
// repeats as plain presses, alone or each just after a release at the very
// same moment. So a key that was down when the box opened counts again only
// when pressed after a release at an earlier moment.
//
// Keys are virtual key codes; times are the front end's event time stamps.
class FreshKeyRule {
 public:
  FreshKeyRule() = default;
  explicit FreshKeyRule(std::set<int> downWhenOpened) : held_(std::move(downWhenOpened)) {}

  // Whether the box may take this press or release of an answering key.
  bool Admit(int key, bool press, bool markedRepeat, std::uint64_t at);

 private:
  std::set<int> held_;                     // down when the box opened, not pressed anew since
  std::map<int, std::uint64_t> releasedAt_;  // the last release of a held key
};

}  // namespace platform
