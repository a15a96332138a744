#pragma once

#include <array>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Controls.h"
#include "platform/FormDescription.h"

namespace platform {

// A window and its controls, made from a window description. The controls
// live as long as the form; none is created or destroyed later.
class Form {
 public:
  explicit Form(const FormDescription& description);
  virtual ~Form() = default;
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  std::string Caption;
  const Twips ClientWidth;
  const Twips ClientHeight;
  const Colour BackColor;
  const Colour ForeColor;
  // A system that lacks the font sets the text in its own stand-in, at
  // this size.
  const FontDescription Font;

  // Raised once by the front end, before the window is first shown.
  std::function<void()> Load;

  // Every control, in the order of the description. Where two overlap on
  // the screen, the later one shows, on the form as in a picture box.
  const std::vector<std::unique_ptr<Control>>& Controls() const { return controls_; }
  // The form's own text boxes and command buttons, the controls that the
  // keyboard reaches, in tab order.
  std::vector<Control*> TabStops() const;
  // The first tab stop that is shown and enabled: the one that has the
  // focus when the window opens. Nullptr if there is none.
  Control* FirstTabStop() const;

  // The control that a label captions, for screen readers; nullptr if none.
  // A control with an accessible name of its own keeps it: the caption then
  // only stands beside it.
  Control* CaptionedBy(const Control& label) const;
  // Where the control stands in Controls().
  std::size_t IndexOf(const Control& control) const;

  template <class T>
  T& Find(std::string_view name, int index = -1) const {
    if (auto* control = dynamic_cast<T*>(FindControl(name, index))) return *control;
    throw std::out_of_range("no control " + std::string(name) + " of that kind");
  }

 private:
  Control* FindControl(std::string_view name, int index) const;
  std::vector<std::unique_ptr<Control>> controls_;
};

// The elements of a control array, addressed by index as dir(k).
template <class T, int N>
class ControlArray {
 public:
  ControlArray(const Form& form, std::string_view name) {
    for (int i = 0; i < N; ++i) elements_[static_cast<std::size_t>(i)] = &form.Find<T>(name, i);
  }
  T& operator()(int index) const { return *elements_.at(static_cast<std::size_t>(index)); }
  static constexpr int Count() { return N; }

 private:
  std::array<T*, N> elements_{};
};

}  // namespace platform
