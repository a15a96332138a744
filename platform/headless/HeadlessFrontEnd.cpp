#include "platform/headless/HeadlessFrontEnd.h"

#include <algorithm>
#include <utility>

namespace platform {

HeadlessFrontEnd::HeadlessFrontEnd(std::string appTitle) : Runtime(std::move(appTitle)) {}

HeadlessFrontEnd::~HeadlessFrontEnd() = default;

void HeadlessFrontEnd::Load(Form& form) {
  for (const auto& control : form.Controls()) {
    if (auto* box = dynamic_cast<PictureBox*>(control.get())) surfaces_.push_back(Surface{box, {}, {}});
    if (auto* timer = dynamic_cast<Timer*>(control.get())) timers_.push_back(timer);
  }
  wakes_.assign(timers_.size(), std::nullopt);
  Screen& screen = *this;
  pass_ = std::make_unique<ScreenPass>(form, screen, [this] { return now_; });
  // After each handler, before the pass takes them: the lines it drew.
  pass_->AfterEachHandler([this] {
    for (Surface& surface : surfaces_) surface.strokes = surface.box->Strokes();
  });
  Open(form, *pass_, [] {});
}

void HeadlessFrontEnd::PressKey(int vk) {
  for (const bool down : {true, false}) Key(vk, down, false, false, 0);
}

void HeadlessFrontEnd::WakeTimerIn(std::size_t timer, std::optional<std::chrono::milliseconds> delay) {
  wakes_.at(timer) = delay ? std::optional(now_ + *delay) : std::nullopt;
}

void HeadlessFrontEnd::Tick(Timer& timer, int count) {
  const auto index = static_cast<std::size_t>(std::find(timers_.begin(), timers_.end(), &timer) - timers_.begin());
  for (int i = 0; i < count && index < wakes_.size() && wakes_[index]; ++i) {
    now_ = std::max(now_, *wakes_[index]);
    pass_->TimerWoke(index);
  }
}

void HeadlessFrontEnd::Wait(std::chrono::milliseconds span) {
  const auto end = now_ + span;
  for (;;) {
    const auto next = std::min_element(wakes_.begin(), wakes_.end(), [](const auto& a, const auto& b) {
      return a && (!b || *a < *b);
    });
    if (next == wakes_.end() || !*next || **next > end) break;
    now_ = std::max(now_, **next);
    pass_->TimerWoke(static_cast<std::size_t>(next - wakes_.begin()));
  }
  now_ = end;
}

const std::vector<LineSegment>& HeadlessFrontEnd::StrokesOfLastEvent(const PictureBox& box) const {
  static const std::vector<LineSegment> none;
  for (const Surface& surface : surfaces_)
    if (surface.box == &box) return surface.strokes;
  return none;
}

bool HeadlessFrontEnd::ShowsMarks(const PictureBox& field) const {
  for (const auto& raster : pass_->Fields())
    if (&raster->Field() == &field) return raster->Marked();
  return false;
}

void HeadlessFrontEnd::Repaint(const FieldRaster& field, const std::vector<PixelRect>& changed) {
  for (Surface& surface : surfaces_) {
    if (surface.box != &field.Field()) continue;
    surface.repainted.resize(static_cast<std::size_t>(field.Width()) * field.Height());
    for (const PixelRect& r : changed)
      for (int y = r.y; y < r.Bottom(); ++y) {
        const std::size_t row = static_cast<std::size_t>(y) * field.Width();
        std::copy_n(field.Pixels() + row + r.x, r.width, surface.repainted.begin() + static_cast<long>(row + r.x));
      }
  }
}

bool HeadlessFrontEnd::RepaintsKeepUp(const PictureBox& field) const {
  for (const auto& raster : pass_->Fields())
    if (&raster->Field() == &field)
      for (const Surface& surface : surfaces_)
        if (surface.box == &field)
          return surface.repainted.size() == static_cast<std::size_t>(raster->Width()) * raster->Height() &&
                 std::equal(surface.repainted.begin(), surface.repainted.end(), raster->Pixels());
  return false;
}

std::uint32_t HeadlessFrontEnd::Shows(const PictureBox& field, int x, int y) const {
  for (const auto& raster : pass_->Fields())
    if (&raster->Field() == &field)
      for (const Surface& surface : surfaces_)
        if (surface.box == &field) return surface.repainted.at(static_cast<std::size_t>(y) * raster->Width() + x);
  return 0;
}

void HeadlessFrontEnd::ShowMessage(const std::string& prompt, bool) {
  boxes_.push_back({AppTitle(), prompt});
  if (TestAnswer()) TestAnswer()(AppTitle(), prompt);
}

}  // namespace platform
