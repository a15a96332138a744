#pragma once

#include <gtest/gtest.h>

#include <array>
#include <deque>
#include <initializer_list>
#include <stdexcept>
#include <utility>

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
  // One tick with the keys held down through it.
  void TickHolding(std::initializer_list<int> keys) {
    for (int vk : keys) Hold(vk);
    Tick();
    for (int vk : keys) Release(vk);
  }
  // Where a box stands, to compare both coordinates at once.
  using Spot = std::pair<platform::Twips, platform::Twips>;
  static Spot At(const platform::PictureBox& box) { return {box.Left, box.Top}; }
  std::array<platform::PictureBox*, 5> Dots() {
    return {&form.Picture4, &form.Picture5, &form.Picture6, &form.Picture7, &form.Picture8};
  }
  void Script(std::initializer_list<float> draws) {
    random.draws.insert(random.draws.end(), draws);
    front.UseRandom(random);
  }

  platform::HeadlessFrontEnd front{"vantor"};
  Form1 form;
  ScriptedRandom random;
};
