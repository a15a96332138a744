#pragma once

#include <QObject>
#include <QTimer>
#include <memory>
#include <vector>

#include "platform/Controls.h"
#include "platform/TickPacer.h"

namespace platform::qt {

// Raises each enabled timer's ticks at the pace that TickPacer sets, arming
// one precise single-shot for the time left to each deadline.
class TimerDriver final : public QObject {
 public:
  explicit TimerDriver(QObject* parent = nullptr) : QObject(parent) {}
  void Drive(Timer& timer);

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
  std::vector<std::unique_ptr<Driven>> driven_;
};

}  // namespace platform::qt
