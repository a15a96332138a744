#pragma once

#include <optional>
#include <vector>

#include "platform/Controls.h"
#include "platform/TickPacer.h"

namespace platform {

// When each of a form's timers ticks, for a front end that wakes once per
// tick of each: it reads WakeAt after every event and arms a wake-up for it,
// and calls Woke when that wake-up comes.
class TimerSchedule {
 public:
  using Clock = TickPacer::Clock;

  void Drive(Timer& timer) { paced_.push_back(Paced{.timer = &timer}); }
  std::size_t Count() const { return paced_.size(); }

  // Starts, restarts or stops each timer as its Enabled and Interval now
  // say. Returns whether any timer's wake-up changed.
  bool Sync(Clock::time_point now);
  // When the timer should next wake, or nothing while it is stopped.
  std::optional<Clock::time_point> WakeAt(std::size_t index) const;
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
