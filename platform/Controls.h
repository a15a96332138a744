#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Colour.h"
#include "platform/FormDescription.h"
#include "platform/Picture.h"
#include "platform/Units.h"

namespace platform {

// The range of a control's Left and Top: beyond 2^24 twips single precision
// no longer holds every whole twip, and a pixel position would no longer fit
// the window system. Writes outside it are held at its edge.
inline constexpr Twips kCoordinateLimit = 16777216.0f;

// A control's Left or Top. Reads like the number it holds; a write is held
// within the coordinate range, and a value that is not a number becomes 0.
class Position {
 public:
  explicit Position(Twips value) { *this = value; }
  Position& operator=(Twips value);
  operator Twips() const { return value_; }  // NOLINT(google-explicit-constructor)

 private:
  Twips value_ = 0;
};

// Controls are plain data: handlers read and write them, and a front end
// brings the screen up to date after each event.
class Control {
 public:
  Control(const ControlDescription& d, Control* container);
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string Name;
  const ControlKind Kind;
  const int Index;           // element of a control array, or -1
  Control* const Container;  // nullptr: the form itself
  const int TabIndex;
  const std::string AccessibleName;
  const std::string LabelFor;  // a label's: the control that it captions
  const std::string Announce;
  const int AnnounceCountFrom;

  Position Left;
  Position Top;
  const Twips Width;
  const Twips Height;
  bool Visible;
  bool Enabled;

  // Visible, and so is every container up to the form.
  bool Shown() const;
  // Whether a click or typed text reaches the control.
  bool TakesInput() const { return Enabled && Shown(); }
};

// One stroke drawn on a picture box, in the box's twips.
struct LineSegment {
  Twips x1, y1, x2, y2;
  Colour colour;
};

class PictureBox final : public Control {
 public:
  PictureBox(const ControlDescription& d, Control* container);

  Colour BackColor;
  platform::Picture Picture;
  // The inner size; picture boxes have no border.
  const Twips ScaleWidth;
  const Twips ScaleHeight;

  // Moves the box; its size stays.
  void Move(Twips left, Twips top);
  // Draws a line onto the box's surface, beneath its child boxes. A line
  // drawn while the box is not shown is never seen, so it is not kept.
  void Line(Twips x1, Twips y1, Twips x2, Twips y2, Colour colour);
  // The lines drawn since the front end last took them, oldest first.
  const std::vector<LineSegment>& Strokes() const { return strokes_; }
  std::vector<LineSegment> TakeStrokes() { return std::exchange(strokes_, {}); }

 private:
  std::vector<LineSegment> strokes_;
};

class Label final : public Control {
 public:
  Label(const ControlDescription& d, Control* container);
  std::string Caption;
  Colour BackColor;
  Colour ForeColor;
};

class TextBox final : public Control {
 public:
  TextBox(const ControlDescription& d, Control* container);
  std::string Text;
};

class CommandButton final : public Control {
 public:
  CommandButton(const ControlDescription& d, Control* container);
  std::string Caption;
  std::function<void()> Click;
  // What a press of the button does: nothing while it takes no input. Says
  // whether it reached the button.
  bool Press();
};

class Timer final : public Control {
 public:
  explicit Timer(const ControlDescription& d);
  int Interval;
  std::function<void()> OnTimer;
  void RaiseTimer();
};

}  // namespace platform
