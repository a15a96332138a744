#include "platform/Form.h"

#include <algorithm>

namespace platform {
namespace {

std::unique_ptr<Control> MakeControl(const ControlDescription& d, Control* container) {
  switch (d.kind) {
    case ControlKind::PictureBox:
      return std::make_unique<PictureBox>(d, container);
    case ControlKind::Label:
      return std::make_unique<Label>(d, container);
    case ControlKind::TextBox:
      return std::make_unique<TextBox>(d, container);
    case ControlKind::CommandButton:
      return std::make_unique<CommandButton>(d, container);
    case ControlKind::Timer:
      return std::make_unique<Timer>(d);
  }
  throw std::invalid_argument("unknown control kind");
}

}  // namespace

Form::Form(const FormDescription& description)
    : Caption(description.caption),
      ClientWidth(description.clientWidth),
      ClientHeight(description.clientHeight),
      BackColor(description.backColor),
      ForeColor(description.foreColor),
      Font(description.font) {
  // The description lists every container before the controls inside it.
  for (const ControlDescription& d : description.controls) {
    Control* container = nullptr;
    if (d.container != description.name) {
      container = FindControl(d.container, -1);
      if (container == nullptr) throw std::invalid_argument("container listed after its contents");
    }
    controls_.push_back(MakeControl(d, container));
  }
}

std::vector<Control*> Form::TabStops() const {
  std::vector<Control*> stops;
  for (const auto& control : controls_)
    if (control->Container == nullptr &&
        (dynamic_cast<TextBox*>(control.get()) != nullptr || dynamic_cast<CommandButton*>(control.get()) != nullptr))
      stops.push_back(control.get());
  std::stable_sort(stops.begin(), stops.end(), [](const Control* a, const Control* b) { return a->TabIndex < b->TabIndex; });
  return stops;
}

Control* Form::FirstTabStop() const {
  for (Control* stop : TabStops())
    if (stop->TakesInput()) return stop;
  return nullptr;
}

Control* Form::CaptionedBy(const Control& label) const {
  if (label.LabelFor.empty()) return nullptr;
  for (const auto& control : controls_)
    if (control->Name == label.LabelFor) return control.get();
  return nullptr;
}

std::size_t Form::IndexOf(const Control& control) const {
  for (std::size_t i = 0; i < controls_.size(); ++i)
    if (controls_[i].get() == &control) return i;
  throw std::out_of_range("control of another form");
}

Control* Form::FindControl(std::string_view name, int index) const {
  for (const auto& control : controls_)
    if (control->Name == name && control->Index == index) return control.get();
  return nullptr;
}

}  // namespace platform
