#pragma once

#include <functional>
#include <string>

#include "platform/Colour.h"
#include "platform/FormDescription.h"
#include "platform/Picture.h"
#include "platform/Property.h"
#include "platform/Units.h"

namespace platform {

// The range of a control's Left and Top: beyond 2^24 twips single precision
// no longer holds every whole twip, and a pixel position would no longer fit
// the window system. Writes outside it are held at its edge.
inline constexpr Twips kCoordinateLimit = 16777216.0f;

class Position : public Property<Twips> {
 public:
  using Property<Twips>::Property;
  Position& operator=(Twips value);
  Position& operator=(const Position& other) { return *this = other.Get(); }
};

class Control : public Observable {
 public:
  Control(const ControlDescription& d, Control* container);
  virtual ~Control() = default;

  const ControlKind Kind;
  const std::string Name;
  const int Index;           // element of a control array, or -1
  Control* const Container;  // nullptr: the form itself
  const int TabIndex;
  const std::string AccessibleName;
  const std::string LabelFor;  // a label's: the control that it captions

  Position Left;
  Position Top;
  Property<Twips> Width;
  Property<Twips> Height;
  Property<bool> Visible;
  Property<bool> Enabled;

  // Visible, and so is every container up to the form.
  bool Shown() const;
};

// One stroke drawn on a picture box, in the box's twips.
struct LineSegment {
  Twips x1, y1, x2, y2;
  Colour colour;
};

class PictureBox final : public Control {
 public:
  PictureBox(const ControlDescription& d, Control* container);

  Property<Colour> BackColor;
  Property<Colour> ForeColor;
  Property<platform::Picture> Picture;
  // The inner size; picture boxes have no border.
  Property<Twips> ScaleWidth;
  Property<Twips> ScaleHeight;

  // Moves the box; its size stays.
  void Move(Twips left, Twips top);
  // Draws a line onto the box's surface, beneath its child boxes. The box
  // keeps no copy: the front end shows it until the box is hidden.
  void Line(Twips x1, Twips y1, Twips x2, Twips y2, Colour colour);
  void OnDraw(std::function<void(const LineSegment&)> draw) { draw_ = std::move(draw); }

 private:
  std::function<void(const LineSegment&)> draw_;
};

class Label final : public Control {
 public:
  Label(const ControlDescription& d, Control* container);
  Property<std::string> Caption;
  Property<Colour> BackColor;
  Property<Colour> ForeColor;
};

class TextBox final : public Control {
 public:
  TextBox(const ControlDescription& d, Control* container);
  Property<std::string> Text;
};

class CommandButton final : public Control {
 public:
  CommandButton(const ControlDescription& d, Control* container);
  Property<std::string> Caption;
  std::function<void()> Click;
  // What a press of the button does: nothing while it is disabled.
  void Press();
};

class Timer final : public Control {
 public:
  explicit Timer(const ControlDescription& d);
  Property<int> Interval;
  std::function<void()> OnTimer;
  void RaiseTimer();
};

}  // namespace platform
