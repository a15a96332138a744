#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <stdexcept>

#include "app/Form1.h"
#include "platform/headless/HeadlessFrontEnd.h"
#include "platform/Random.h"

// Draws that a test lays out in advance; once they run out, every draw is the
// fallback. Counts every draw.
class ScriptedRandom final : public platform::RandomSource {
 public:
  std::deque<float> draws;
  float fallback = 0.5f;
  int taken = 0;
  float Next() override {
    ++taken;
    if (draws.empty()) return fallback;
    const float next = draws.front();
    draws.pop_front();
    return next;
  }
};

// A game window on the headless front end, past its start-up box.
class GameTest : public testing::Test {
 protected:
  GameTest() { front.Load(form); }

  void Tick(int count = 1) { front.Tick(form.Timer1, count); }
  void Clock(int count = 1) { front.Tick(form.Timer2, count); }
  void Hold(int vk) { front.HoldKey(vk); }
  void Release(int vk) { front.ReleaseKey(vk); }
  void Script(std::initializer_list<float> draws) {
    random.draws.insert(random.draws.end(), draws);
    front.UseRandom(random);
  }

  platform::HeadlessFrontEnd front{"vantor"};
  Form1 form;
  ScriptedRandom random;
};
