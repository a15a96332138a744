#include "platform/TickPacer.h"

#include <algorithm>

namespace platform {

TickPacer::Clock::duration TickPacer::PeriodFor(int intervalMs) {
  return std::max<Clock::duration>(std::chrono::milliseconds(std::max(intervalMs, 0)), kGranularity);
}

void TickPacer::Start(Clock::time_point now, int intervalMs) {
  period_ = PeriodFor(intervalMs);
  deadline_ = now + period_;
}

void TickPacer::Ticked(Clock::time_point now) {
  deadline_ += period_;
  if (now >= deadline_) deadline_ = now + period_;
}

}  // namespace platform
