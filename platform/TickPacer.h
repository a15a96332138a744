#pragma once

#include <chrono>

namespace platform {

// When a timer's ticks fall due. A timer never ticks faster than the window
// system's granularity of 64 ticks a second; deadlines are laid on a fixed
// grid from the moment it starts, so late ticks do not add up to drift. A
// timer that has fallen far behind (the program was stalled) starts a new
// grid instead of raising a burst of ticks.
class TickPacer {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr Clock::duration kGranularity = std::chrono::microseconds(15625);
  static constexpr int kMostLateTicks = 4;

  static Clock::duration PeriodFor(int intervalMs);

  void Start(Clock::time_point now, int intervalMs);
  Clock::time_point Deadline() const { return deadline_; }
  // Call when the tick at Deadline() has been raised.
  void Ticked(Clock::time_point now);

 private:
  Clock::duration period_ = kGranularity;
  Clock::time_point deadline_{};
};

}  // namespace platform
