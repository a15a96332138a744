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

std::optional<std::chrono::milliseconds> TimerSchedule::WakeIn(std::size_t index, Clock::time_point now) const {
  const Paced& p = paced_.at(index);
  if (!p.running) return std::nullopt;
  return std::max(std::chrono::milliseconds(0), std::chrono::ceil<std::chrono::milliseconds>(p.pacer.Deadline() - now));
}

Timer* TimerSchedule::Woke(std::size_t index, Clock::time_point now) {
  Paced& p = paced_.at(index);
  if (!p.running || now + kEarlyWake <= p.pacer.Deadline()) return nullptr;
  p.pacer.Ticked(now);
  return p.timer;
}

}  // namespace platform
