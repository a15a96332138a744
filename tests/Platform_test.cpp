#include <gtest/gtest.h>

#include <chrono>

#include "platform/Colour.h"
#include "platform/KeyState.h"
#include "platform/TickPacer.h"

using namespace std::chrono;
using platform::KeyState;
using platform::TickPacer;

TEST(KeyStateTest, ReadsDownWhileHeldAPressOnceAndNothingAfterLosingTheKeyboard) {
  KeyState keys;
  EXPECT_EQ(keys.Query(37), 0);
  keys.Press(37);
  EXPECT_NE(keys.Query(37), 0);
  EXPECT_NE(keys.Query(37), 0);  // still down
  keys.Release(37);
  EXPECT_EQ(keys.Query(37), 0);

  // A tap between two queries is seen once, and by that key only.
  keys.Press(13);
  keys.Release(13);
  EXPECT_EQ(keys.Query(39), 0);
  EXPECT_NE(keys.Query(13), 0);
  EXPECT_EQ(keys.Query(13), 0);

  keys.Press(38);
  keys.Press(13);
  keys.Release(13);
  keys.ReleaseAll();
  EXPECT_EQ(keys.Query(38), 0);
  EXPECT_EQ(keys.Query(13), 0);
  EXPECT_EQ(keys.Query(1000), 0);
}

TEST(ColourTest, RedIsTheLowByteAndSystemColoursResolve) {
  EXPECT_EQ(platform::RGB(1, 2, 3), 0x030201u);
  EXPECT_EQ(platform::ResolveColour(platform::vbWindowBackground), platform::RGB(255, 255, 255));
}

namespace {
// Ticks raised in `span` when every tick is handled `lateness` after it falls due.
int TicksIn(int intervalMs, TickPacer::Clock::duration span, TickPacer::Clock::duration lateness) {
  TickPacer pacer;
  const auto start = TickPacer::Clock::time_point{};
  pacer.Start(start, intervalMs);
  int ticks = 0;
  while (pacer.Deadline() + lateness <= start + span) {
    pacer.Ticked(pacer.Deadline() + lateness);
    ++ticks;
  }
  return ticks;
}
}  // namespace

TEST(TickPacerTest, HoldsSixtyFourTicksASecondWithoutDrift) {
  EXPECT_EQ(TicksIn(1, seconds(10), {}), 640);
  // Handling each tick late does not slow the pace: the deadlines stay on their grid.
  EXPECT_EQ(TicksIn(1, seconds(10), milliseconds(9)), 639);
  EXPECT_EQ(TicksIn(15, seconds(10), {}), 640);  // below the granularity
  EXPECT_EQ(TicksIn(1000, seconds(10), milliseconds(5)), 9);
  EXPECT_EQ(TicksIn(1000, seconds(10) + milliseconds(1), {}), 10);
}

TEST(TickPacerTest, AStalledTimerStartsAfreshInsteadOfBursting) {
  TickPacer pacer;
  const auto start = TickPacer::Clock::time_point{};
  pacer.Start(start, 1);
  const auto stalledUntil = start + seconds(2);
  pacer.Ticked(stalledUntil);
  EXPECT_EQ(pacer.Deadline(), stalledUntil + TickPacer::kGranularity);
  // A tick a little late keeps the grid.
  pacer.Ticked(pacer.Deadline() + milliseconds(20));
  EXPECT_EQ(pacer.Deadline(), stalledUntil + 2 * TickPacer::kGranularity);
}
