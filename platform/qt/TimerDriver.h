#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

#include "platform/Controls.h"
#include "platform/TickPacer.h"

namespace platform::qt {

// Raises each enabled timer's ticks at the pace that TickPacer sets, arming
// one precise single-shot for the time left to each deadline.
class TimerDriver final : public QObject {
 public:
  // `raise` delivers a tick to its timer as an event of the window.
  explicit TimerDriver(std::function<void(Timer&)> raise) : raise_(std::move(raise)) {}
  void Drive(Timer& timer);
  // Starts, stops or re-paces each timer as its Enabled and Interval say now.
  void Sync();

 private:
  struct Driven {
    Timer* timer;
    QTimer qtimer;
    TickPacer pacer;
    bool running = false;
    int interval = 0;
  };
  void Sync(Driven& d);
  void Arm(Driven& d);
  void Fire(Driven& d);
  std::function<void(Timer&)> raise_;
  std::vector<std::unique_ptr<Driven>> driven_;
};

}  // namespace platform::qt
