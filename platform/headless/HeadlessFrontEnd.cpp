#include "platform/headless/HeadlessFrontEnd.h"

#include <utility>

namespace platform {

HeadlessFrontEnd::HeadlessFrontEnd(std::string appTitle) : Runtime(std::move(appTitle)) {}

void HeadlessFrontEnd::Load(Form& form) {
  for (const auto& control : form.Controls()) {
    auto* box = dynamic_cast<PictureBox*>(control.get());
    if (box == nullptr) continue;
    Surface& surface = surfaces_.emplace_back(Surface{box, {}});
    box->OnDraw([this, box, &surface](const LineSegment& line) {
      ++linesDrawn_;
      if (!box->Shown()) return;
      surface.marks.push_back(line);
      if (surface.marks.size() > kMarksKept) surface.marks.pop_front();
    });
    box->Observe([box, &surface] {
      if (!box->Visible) surface.marks.clear();
    });
  }
  if (form.Load) form.Load();
}

void HeadlessFrontEnd::Tick(Timer& timer, int count) {
  for (int i = 0; i < count; ++i) Tick(timer);
}

bool HeadlessFrontEnd::Click(CommandButton& button) {
  if (!button.Enabled || !button.Visible) return false;
  button.Press();
  return true;
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
  boxes_.push_back({AppTitle(), prompt});
  if (look_) look_(boxes_.back());
}

}  // namespace platform
