#pragma once

#include <vector>

#include "platform/Controls.h"
#include "platform/Form.h"

namespace platform {

// Which of the form's controls has the keyboard, decided once for every
// front end. The screen pass settles it after each event and shows it; a
// front end reports only where the player put it with the mouse.
class Focus {
 public:
  explicit Focus(const Form& form) : form_(form) {}

  const Control* Owner() const { return owner_; }
  // Whether the owner took the keyboard so as to hold its text selected: a
  // text box that is tabbed into, or that takes the keyboard back after a
  // game, so that what is typed next replaces the count left in it.
  bool SelectsText() const { return selects_; }

  // The window shows: the first tab stop that can take the keyboard has it.
  void FormShown();
  // The player put the keyboard on a control, or on none of the form's.
  void MovedTo(const Control* control);
  // After an event: the owner keeps the keyboard while it is shown and
  // enabled. If none has it, the first control in the description that was
  // enabled by the event takes it.
  void Settle(const std::vector<const Control*>& enabledNow);
  // Tab (forward) or Shift+Tab: the next tab stop that can take it, round.
  void Step(bool forward);

 private:
  void Take(const Control* control, bool select);

  const Form& form_;
  const Control* owner_ = nullptr;
  bool selects_ = false;
};

}  // namespace platform
