#include "platform/Controls.h"

#include <algorithm>
#include <cmath>

namespace platform {

Position& Position::operator=(Twips value) {
  value_ = std::isnan(value) ? 0 : std::clamp(value, -kCoordinateLimit, kCoordinateLimit);
  return *this;
}

Control::Control(const ControlDescription& d, Control* container)
    : Name(d.name),
      Kind(d.kind),
      Index(d.index),
      Container(container),
      TabIndex(d.tabIndex),
      AccessibleName(d.accessibleName),
      LabelFor(d.labelFor),
      Announce(d.announce),
      AnnounceCountFrom(d.announceCountFrom),
      Left(d.left),
      Top(d.top),
      Width(d.width),
      Height(d.height),
      Visible(d.visible),
      Enabled(d.enabled) {}

bool Control::Shown() const {
  for (const Control* c = this; c != nullptr; c = c->Container)
    if (!c->Visible) return false;
  return true;
}

PictureBox::PictureBox(const ControlDescription& d, Control* container)
    : Control(d, container),
      BackColor(d.backColor),
      Picture(d.picture.empty() ? platform::Picture() : platform::Picture::FromFile(d.picture)),
      ScaleWidth(d.width),
      ScaleHeight(d.height) {}

void PictureBox::Move(Twips left, Twips top) {
  Left = left;
  Top = top;
}

void PictureBox::Line(Twips x1, Twips y1, Twips x2, Twips y2, Colour colour) {
  if (Shown()) strokes_.push_back(LineSegment{x1, y1, x2, y2, colour});
}

Label::Label(const ControlDescription& d, Control* container)
    : Control(d, container), Caption(d.text), BackColor(d.backColor), ForeColor(d.foreColor) {}

TextBox::TextBox(const ControlDescription& d, Control* container) : Control(d, container), Text(d.text) {}

CommandButton::CommandButton(const ControlDescription& d, Control* container)
    : Control(d, container), Caption(d.text) {}

bool CommandButton::Press() {
  if (!TakesInput()) return false;
  if (Click) Click();
  return true;
}

Timer::Timer(const ControlDescription& d) : Control(d, nullptr), Interval(d.interval) {}

void Timer::RaiseTimer() {
  if (Enabled && OnTimer) OnTimer();
}

}  // namespace platform
