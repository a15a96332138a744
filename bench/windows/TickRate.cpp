// The Windows window's frame tick and clock over a while, the bullet flying
// and every key held: how steadily its window timers deliver them.
// tick_rate [SECONDS]   (10 by default)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/Form1.h"
#include "bench/TickStats.h"
#include "platform/Units.h"
#include "platform/win32/Win32FrontEnd.h"
#include "scene/Form1Description.h"

namespace {

using Clock = std::chrono::steady_clock;

// Records when each tick of a timer is raised, then raises it as before.
void Record(platform::Timer& timer, std::vector<Clock::time_point>& at) {
  timer.OnTimer = [&at, raise = timer.OnTimer] {
    at.push_back(Clock::now());
    raise();
  };
}

double CpuSeconds() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  const auto seconds = [](const FILETIME& t) {
    return static_cast<double>(static_cast<ULONGLONG>(t.dwHighDateTime) << 32 | t.dwLowDateTime) / 1e7;
  };
  return seconds(kernel) + seconds(user);
}

}  // namespace

int main(int argc, char** argv) {
  const double seconds = argc > 1 ? std::atof(argv[1]) : 10.0;
  platform::win32::Win32FrontEnd front(scene::kProjectTitle, GetModuleHandleW(nullptr));
  front.AnswerMessageBoxes([](const std::string&, const std::string&) {});
  Form1 form;
  std::vector<Clock::time_point> frames, clock;
  frames.reserve(static_cast<std::size_t>(seconds * 100) + 16);
  Record(form.Timer1, frames);
  Record(form.Timer2, clock);
  form.time.Text = "10000";
  front.Show(form, SW_SHOWNORMAL);
  front.Dispatch([&form] { form.NewGame.Press(); });
  for (const int vk : {platform::vbKeyLeft, platform::vbKeyRight, platform::vbKeyUp, platform::vbKeyDown,
                       platform::vbKeyReturn})
    front.Keys().Press(vk);
  frames.clear();
  const double cpuBefore = CpuSeconds();
  SetTimer(nullptr, 0, static_cast<UINT>(seconds * 1000), [](HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(0); });
  front.Loop();
  const double cpu = CpuSeconds() - cpuBefore;
  const TickStats stats = Summarise(frames, clock);
  std::printf("%.2f per second, longest gap %.2f ms, gaps of two periods or more %d, clock off a second by at "
              "most %.2f ms, CPU %.2f%% of one core\n",
              stats.perSecond, stats.longestGapMs, stats.missed, stats.worstSecondMs, 100 * cpu / seconds);
  return frames.size() < 2;
}
