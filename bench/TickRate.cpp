// Plays a game in the real window for a while, with the bullet flying and
// every key held, and reports how steadily the frame tick is delivered.
#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

#include <sys/resource.h>

#include "app/Form1.h"
#include "bench/TickStats.h"
#include "platform/qt/QtFrontEnd.h"
#include "scene/Form1Description.h"

namespace {

using Clock = std::chrono::steady_clock;

// How soon the screen shows a tick: from the tick to the next paint of any
// widget of the window.
class PaintWatch final : public QObject {
 public:
  void Ticked() {
    if (!pending_) pending_ = Clock::now();
  }
  double Median() {
    if (latencies_.empty()) return 0;
    std::nth_element(latencies_.begin(), latencies_.begin() + latencies_.size() / 2, latencies_.end());
    return latencies_[latencies_.size() / 2];
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint && pending_) {
      latencies_.push_back(std::chrono::duration<double, std::milli>(Clock::now() - *pending_).count());
      pending_.reset();
    }
    return false;
  }

 private:
  std::optional<Clock::time_point> pending_;
  std::vector<double> latencies_;
};

}  // namespace

int main(int argc, char** argv) {
  const double seconds = argc > 1 ? std::atof(argv[1]) : 10.0;
  platform::qt::QtFrontEnd::PrepareApplication();
  QApplication application(argc, argv);
  platform::qt::QtFrontEnd front(scene::kProjectTitle);
  Form1 form;

  front.AnswerMessageBoxes([](const std::string&, const std::string&) {});

  PaintWatch paints;
  application.installEventFilter(&paints);
  std::vector<Clock::time_point> ticks;
  ticks.reserve(static_cast<std::size_t>(seconds * 100) + 16);
  const auto tick = form.Timer1.OnTimer;
  form.Timer1.OnTimer = [&] {
    ticks.push_back(Clock::now());
    paints.Ticked();
    tick();
  };
  std::vector<Clock::time_point> seconds_;
  const auto second = form.Timer2.OnTimer;
  form.Timer2.OnTimer = [&] {
    seconds_.push_back(Clock::now());
    second();
  };
  form.time.Text = "10000";
  front.Show(form);
  front.Dispatch([&] { form.NewGame.Press(); });
  for (int vk : {platform::vbKeyLeft, platform::vbKeyRight, platform::vbKeyUp, platform::vbKeyDown,
                 platform::vbKeyReturn})
    front.Keys().Press(vk);
  ticks.clear();
  const auto cpuNow = [] {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  };
  const double cpuBefore = cpuNow();
  QTimer::singleShot(static_cast<int>(seconds * 1000), &application, &QApplication::quit);
  QApplication::exec();
  const double cpuUsed = cpuNow() - cpuBefore;

  if (ticks.size() < 2) return 1;
  const TickStats stats = Summarise(ticks, seconds_);
  std::printf("ticks %zu in %.3f s: %.2f per second, longest gap %.2f ms, gaps of two periods or more %d, "
              "CPU %.2f%% of one core, clock ticks %zu, off a second by at most %.2f ms, tick to paint %.3f ms\n",
              ticks.size(), std::chrono::duration<double>(ticks.back() - ticks.front()).count(), stats.perSecond,
              stats.longestGapMs, stats.missed, 100 * cpuUsed / seconds, seconds_.size(), stats.worstSecondMs,
              paints.Median());
  return 0;
}
