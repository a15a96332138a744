#include "platform/TimerSchedule.h"

namespace platform {

bool TimerSchedule::Sync(Clock::time_point now) {
  bool changed = false;
  for (Paced& p : paced_) {
    const bool wanted = p.timer->Enabled && p.timer->Interval > 0;
    if (wanted && (!p.running || p.interval != p.timer->Interval)) {
      p.running = true;
      p.interval = p.timer->Interval;
      p.pacer.Start(now, p.interval);
      changed = true;
    } else if (!wanted && p.running) {
      p.running = false;
      changed = true;
    }
  }
  return changed;
}

std::optional<TimerSchedule::Clock::time_point> TimerSchedule::WakeAt(std::size_t index) const {
  const Paced& p = paced_.at(index);
  if (!p.running) return std::nullopt;
  return p.pacer.Deadline();
}

Timer* TimerSchedule::Woke(std::size_t index, Clock::time_point now) {
  Paced& p = paced_.at(index);
  if (!p.running || now < p.pacer.Deadline()) return nullptr;
  p.pacer.Ticked(now);
  return p.timer;
}

}  // namespace platform
