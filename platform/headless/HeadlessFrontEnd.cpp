#include "platform/headless/HeadlessFrontEnd.h"

#include <utility>

namespace platform {

HeadlessFrontEnd::HeadlessFrontEnd(std::string appTitle) : Runtime(std::move(appTitle)) {}

void HeadlessFrontEnd::Load(Form& form) {
  for (const auto& control : form.Controls())
    if (auto* box = dynamic_cast<PictureBox*>(control.get())) surfaces_.push_back(Surface{box, {}});
  if (form.Load) form.Load();
  Sync();
}

void HeadlessFrontEnd::Tick(Timer& timer, int count) {
  for (int i = 0; i < count; ++i) {
    timer.RaiseTimer();
    Sync();
  }
}

bool HeadlessFrontEnd::Click(CommandButton& button) {
  const bool reached = button.Press();
  Sync();
  return reached;
}

bool HeadlessFrontEnd::Type(TextBox& box, const std::string& text) {
  if (!box.Enabled || !box.Visible) return false;
  box.Text = text;
  return true;
}

const std::deque<LineSegment>& HeadlessFrontEnd::MarksOn(const PictureBox& box) const {
  static const std::deque<LineSegment> none;
  for (const Surface& surface : surfaces_)
    if (surface.box == &box) return surface.marks;
  return none;
}

void HeadlessFrontEnd::ShowMessage(const std::string& prompt) {
  Sync();
  boxes_.push_back({AppTitle(), prompt});
  if (look_) look_(boxes_.back());
}

void HeadlessFrontEnd::Sync() {
  for (Surface& surface : surfaces_) {
    if (surface.box->HasStrokes())
      for (const LineSegment& stroke : surface.box->TakeStrokes()) surface.marks.push_back(stroke);
    if (surface.marks.empty()) continue;
    // Nothing drawn on a box outlives its being hidden.
    if (!surface.box->Visible) surface.marks.clear();
    while (surface.marks.size() > kMarksKept) surface.marks.pop_front();
  }
}

}  // namespace platform
