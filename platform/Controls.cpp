#include "platform/Controls.h"

#include <algorithm>
#include <cmath>

namespace platform {

Position& Position::operator=(Twips value) {
  if (std::isnan(value)) value = 0;
  Property<Twips>::operator=(std::clamp(value, -kCoordinateLimit, kCoordinateLimit));
  return *this;
}

Control::Control(const ControlDescription& d, Control* container)
    : Kind(d.kind),
      Name(d.name),
      Index(d.index),
      Container(container),
      TabIndex(d.tabIndex),
      AccessibleName(d.accessibleName),
      LabelFor(d.labelFor),
      Left(*this, d.left),
      Top(*this, d.top),
      Width(*this, d.width),
      Height(*this, d.height),
      Visible(*this, d.visible),
      Enabled(*this, d.enabled) {}

bool Control::Shown() const {
  for (const Control* c = this; c != nullptr; c = c->Container)
    if (!c->Visible) return false;
  return true;
}

PictureBox::PictureBox(const ControlDescription& d, Control* container)
    : Control(d, container),
      BackColor(*this, d.backColor),
      ForeColor(*this, d.foreColor),
      Picture(*this, d.picture.empty() ? platform::Picture() : platform::Picture::FromBitmapFile(d.picture)),
      ScaleWidth(*this, d.width),
      ScaleHeight(*this, d.height) {}

void PictureBox::Move(Twips left, Twips top) {
  Left = left;
  Top = top;
}

void PictureBox::Line(Twips x1, Twips y1, Twips x2, Twips y2, Colour colour) {
  if (draw_) draw_(LineSegment{x1, y1, x2, y2, colour});
}

Label::Label(const ControlDescription& d, Control* container)
    : Control(d, container),
      Caption(*this, std::string(d.text)),
      BackColor(*this, d.backColor),
      ForeColor(*this, d.foreColor) {}

TextBox::TextBox(const ControlDescription& d, Control* container)
    : Control(d, container), Text(*this, std::string(d.text)) {}

CommandButton::CommandButton(const ControlDescription& d, Control* container)
    : Control(d, container), Caption(*this, std::string(d.text)) {}

void CommandButton::Press() {
  if (Enabled && Visible && Click) Click();
}

Timer::Timer(const ControlDescription& d) : Control(d, nullptr), Interval(*this, d.interval) {}

void Timer::RaiseTimer() {
  if (Enabled && OnTimer) OnTimer();
}

}  // namespace platform
