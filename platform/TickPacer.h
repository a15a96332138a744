#pragma once

#include <chrono>

namespace platform {

// When a timer's ticks fall due. A timer never ticks faster than the window
// system's granularity of 64 ticks a second; deadlines are laid on a fixed
// grid from the moment it starts, so late ticks do not add up to drift. A
// timer that finds itself a whole period or more behind (the program was
// stalled) raises one tick for all it missed and lays a new grid from then,
// as the window system's own timers do: a stall never costs the player more
// than one second of the clock, nor jerks the sprites.
class TickPacer {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr Clock::duration kGranularity = std::chrono::microseconds(15625);

  static Clock::duration PeriodFor(int intervalMs);

  void Start(Clock::time_point now, int intervalMs);
  Clock::time_point Deadline() const { return deadline_; }
  // Call when the tick at Deadline() is raised. The next deadline is then
  // always after now, so one wake-up raises one tick at most.
  void Ticked(Clock::time_point now);

 private:
  Clock::duration period_ = kGranularity;
  Clock::time_point deadline_{};
};

}  // namespace platform
