// The cost of one frame tick on the headless front end: a game in progress
// with the bullet in flight and every arrow key held, against an idle tick
// with the bullet parked, measured in the same run.
#include <benchmark/benchmark.h>

#include "app/Form1.h"
#include "platform/headless/HeadlessFrontEnd.h"
#include "platform/Units.h"

namespace {

void IdleTick(benchmark::State& state) {
  platform::HeadlessFrontEnd front("vantor");
  Form1 form;
  front.Load(form);
  for (auto _ : state) front.Tick(form.Timer1);
}

void FlyingTick(benchmark::State& state) {
  platform::HeadlessFrontEnd front("vantor");
  Form1 form;
  front.Load(form);
  front.Click(form.NewGame);
  for (int vk : {platform::vbKeyLeft, platform::vbKeyRight, platform::vbKeyUp, platform::vbKeyDown})
    front.HoldKey(vk);
  for (auto _ : state) {
    if (!form.bullet.Visible) {  // fire again as soon as it is parked
      front.HoldKey(platform::vbKeyReturn);
      front.ReleaseKey(platform::vbKeyReturn);
    }
    front.Tick(form.Timer1);
  }
}

}  // namespace

BENCHMARK(IdleTick);
BENCHMARK(FlyingTick);
BENCHMARK_MAIN();
