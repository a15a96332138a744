#include "platform/Focus.h"

#include <algorithm>

namespace platform {
namespace {

bool IsTextBox(const Control* control) { return dynamic_cast<const TextBox*>(control) != nullptr; }

}  // namespace

void Focus::Take(const Control* control, bool select) {
  owner_ = control;
  selects_ = select && IsTextBox(control);
}

void Focus::FormShown() { Take(form_.FirstTabStop(), false); }

void Focus::MovedTo(const Control* control) { Take(control, false); }

void Focus::Settle(const std::vector<const Control*>& enabledNow) {
  if (owner_ != nullptr && !owner_->TakesInput()) Take(nullptr, false);
  if (owner_ != nullptr) return;
  const std::vector<Control*> stops = form_.TabStops();
  for (const auto& control : form_.Controls())
    if (std::find(enabledNow.begin(), enabledNow.end(), control.get()) != enabledNow.end() &&
        std::find(stops.begin(), stops.end(), control.get()) != stops.end() && control->TakesInput()) {
      Take(control.get(), true);
      return;
    }
}

void Focus::Step(bool forward) {
  std::vector<Control*> stops = form_.TabStops();
  std::erase_if(stops, [](const Control* stop) { return !stop->TakesInput(); });
  if (stops.empty()) return;
  const auto at = std::find(stops.begin(), stops.end(), owner_);
  std::size_t next = forward ? 0 : stops.size() - 1;
  if (at != stops.end())
    next = (static_cast<std::size_t>(at - stops.begin()) + (forward ? 1 : stops.size() - 1)) % stops.size();
  Take(stops[next], true);
}

}  // namespace platform
