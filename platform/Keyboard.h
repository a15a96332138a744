#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <set>

#include "platform/FreshKeys.h"
#include "platform/KeyState.h"

namespace platform {

// What the window system does with a key once the forms layer has heard it:
// its own handling goes on, is stopped, or the open box closes. A box of the
// window system's own closes itself on the key it is passed; a box of the
// program's own is closed by its front end.
enum class KeyOutcome { Pass, Stop, CloseBox };

// The program's keyboard, one for every front end. A front end reports the
// keys that reach the form or its box, in virtual key codes, and when the
// form loses the keyboard. The
// keyboard keeps the key-state table that the game polls and which of the
// keys that answer a box are held on the form, for the box that opens next.
//
// Only the form's keys count. A key that the form stopped hearing, because
// the keyboard went to another program or to nowhere, is not down: its
// release may never reach the program, and a box that waited for it would
// ignore the player's first press. A key pressed in a box is the box's; its
// release may land anywhere, so it is not held either.
class Keyboard {
 public:
  static constexpr int kEnter = 13, kSpace = 32, kEscape = 27, kTab = 9;
  // Enter, Space and Escape answer a message box.
  static constexpr std::array kAnswerKeys{kEnter, kSpace, kEscape};
  static bool AnswersABox(int vk) { return std::find(kAnswerKeys.begin(), kAnswerKeys.end(), vk) != kAnswerKeys.end(); }

  // The table behind GetAsyncKeyState.
  KeyState& Table() { return table_; }

  // A key went down or up on the form. Marked repeats change nothing in the
  // table, but hold a key for the next box; while a box is open, keys are
  // the box's.
  void Key(int vk, bool down, bool markedRepeat);
  // The form no longer has the keyboard: it went to a box, another program
  // or nowhere.
  void Lost();

  // A box opens: the table empties, and the box takes answering keys by the
  // fresh-key rule from the keys held on the form. Where the window system
  // can tell which keys are down now, the front end passes them too: a key
  // held since before the form had the keyboard is then held as well.
  void OpenBox(const std::optional<std::set<int>>& downNow = std::nullopt);
  void CloseBox() { boxOpen_ = false; }
  bool BoxOpen() const { return boxOpen_; }
  // What the open box does with a key: passes it on, never hears it, or
  // closes on it. Enter and Escape close it as they go down, Space as it comes
  // up after going down in the box, as a dialog's button takes them. The box
  // has one button, so Tab could only take the keyboard out of it.
  KeyOutcome BoxKey(int vk, bool down, bool markedRepeat, std::uint64_t at);

 private:
  bool BoxAdmits(int vk, bool down, bool markedRepeat, std::uint64_t at);
  KeyState table_;
  std::set<int> answerKeysHeld_;   // on the form, pressed and not yet released
  bool boxOpen_ = false;
  FreshKeyRule box_;  // the open box's, or the last one's
  bool spaceDownInBox_ = false;
};

}  // namespace platform
