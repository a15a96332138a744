#include "platform/qt/TimerDriver.h"

#include <chrono>

namespace platform::qt {

void TimerDriver::Drive(Timer& timer) {
  auto& d = *driven_.emplace_back(std::make_unique<Driven>());
  d.timer = &timer;
  d.qtimer.setSingleShot(true);
  d.qtimer.setTimerType(Qt::PreciseTimer);
  QObject::connect(&d.qtimer, &QTimer::timeout, this, [this, &d] { Fire(d); });
  Sync(d);
}

void TimerDriver::Sync() {
  for (auto& d : driven_) Sync(*d);
}

void TimerDriver::Sync(Driven& d) {
  const bool wanted = d.timer->Enabled && d.timer->Interval > 0;
  if (wanted && (!d.running || d.interval != d.timer->Interval)) {
    d.running = true;
    d.interval = d.timer->Interval;
    d.pacer.Start(TickPacer::Clock::now(), d.interval);
    Arm(d);
  } else if (!wanted && d.running) {
    d.running = false;
    d.qtimer.stop();
  }
}

void TimerDriver::Arm(Driven& d) {
  using namespace std::chrono;
  const auto left = d.pacer.Deadline() - TickPacer::Clock::now();
  d.qtimer.start(static_cast<int>(std::max<long long>(0, ceil<milliseconds>(left).count())));
}

void TimerDriver::Fire(Driven& d) {
  if (!d.running) return;
  const auto now = TickPacer::Clock::now();
  if (now < d.pacer.Deadline()) {  // woken a little early
    Arm(d);
    return;
  }
  // Armed before the tick is raised, so that ticks go on while a handler
  // waits in a message box.
  d.pacer.Ticked(now);
  Arm(d);
  raise_(*d.timer);
}

}  // namespace platform::qt
