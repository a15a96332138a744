#pragma once

#include <gtest/gtest.h>

#include <array>
#include <deque>
#include <initializer_list>
#include <utility>
#include <vector>

#include "app/Form1.h"
#include "platform/headless/HeadlessFrontEnd.h"
#include "platform/Random.h"

// Draws that a test lays out in advance, then 0.5 once they run out. Counts
// every draw.
struct ScriptedRandom final : platform::RandomSource {
  std::deque<float> draws;
  int taken = 0;
  float Next() override {
    ++taken;
    const float next = draws.empty() ? 0.5f : draws.front();
    if (!draws.empty()) draws.pop_front();
    return next;
  }
};

// A game window on the headless front end, past its start-up box.
class GameTest : public testing::Test {
 protected:
  GameTest() { front.Load(form); }

  void Tick(int count = 1) { front.Tick(form.Timer1, count); }
  void Clock(int count = 1) { front.Tick(form.Timer2, count); }
  // One tick with the keys held down through it.
  void TickHolding(const std::vector<int>& keys) {
    for (int vk : keys) front.HoldKey(vk);
    Tick();
    for (int vk : keys) front.ReleaseKey(vk);
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
