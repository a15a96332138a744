#pragma once

// How steadily a window delivered its ticks: the frame tick's rate and its
// longest gap, and the clock's largest miss of one second.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <vector>

struct TickStats {
  double perSecond = 0;
  double longestGapMs = 0;
  int missed = 0;  // gaps of two periods or more: ticks that the window would have missed
  double worstSecondMs = 0;
};

inline TickStats Summarise(const std::vector<std::chrono::steady_clock::time_point>& ticks,
                           const std::vector<std::chrono::steady_clock::time_point>& seconds) {
  using Ms = std::chrono::duration<double, std::milli>;
  TickStats stats;
  if (ticks.size() < 2) return stats;
  stats.perSecond = static_cast<double>(ticks.size() - 1) /
                    std::chrono::duration<double>(ticks.back() - ticks.front()).count();
  for (std::size_t i = 1; i < ticks.size(); ++i) {
    const double gap = Ms(ticks[i] - ticks[i - 1]).count();
    stats.longestGapMs = std::max(stats.longestGapMs, gap);
    if (gap >= 2 * 15.625) ++stats.missed;
  }
  for (std::size_t i = 1; i < seconds.size(); ++i)
    stats.worstSecondMs = std::max(stats.worstSecondMs, std::abs(Ms(seconds[i] - seconds[i - 1]).count() - 1000));
  return stats;
}
