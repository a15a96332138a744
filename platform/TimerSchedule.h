#pragma once

#include <optional>
#include <vector>

#include "platform/Controls.h"
#include "platform/TickPacer.h"

namespace platform {

// When each of a form's timers ticks, for a front end that wakes once per
// tick of each: it arms a wake-up for WakeIn after every event, and calls
// Woke when that wake-up comes.
//
// Timers run while the window is out of sight. Where a platform stops waking
// a program that it does not show (a browser's hidden page), the next
// wake-up comes late, as after any stall: one tick for all those missed.
class TimerSchedule {
 public:
  using Clock = TickPacer::Clock;

  void Drive(Timer& timer) { paced_.push_back(Paced{.timer = &timer}); }
  std::size_t Count() const { return paced_.size(); }

  // Starts, restarts or stops each timer as its Enabled and Interval now
  // say. Returns whether any timer's wake-up changed.
  bool Sync(Clock::time_point now);
  // A wake-up this much early still raises the tick: window systems count
  // waits in whole milliseconds on clocks of their own, and a wait armed
  // again for the rest would cost some of them a whole tick of theirs.
  static constexpr Clock::duration kEarlyWake = std::chrono::milliseconds(2);

  // In how many whole milliseconds from now the timer should next wake,
  // rounded up, or nothing while it is stopped.
  std::optional<std::chrono::milliseconds> WakeIn(std::size_t index, Clock::time_point now) const;
  // The timer woke at now: returns it if its tick is due (its next wake-up
  // then lies after now), or nullptr if it woke early or was stopped.
  Timer* Woke(std::size_t index, Clock::time_point now);

 private:
  struct Paced {
    Timer* timer = nullptr;
    bool running = false;
    int interval = 0;
    TickPacer pacer{};
  };
  std::vector<Paced> paced_;
};

}  // namespace platform
