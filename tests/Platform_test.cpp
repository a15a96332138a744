#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include "platform/Colour.h"
#include "platform/KeyState.h"
#include "platform/Keyboard.h"
#include "platform/Pixels.h"
#include "platform/TickPacer.h"
#include "platform/TimerSchedule.h"

using namespace std::chrono;
using platform::KeyState;
using platform::TickPacer;

// Held keys, their release and their loss with the keyboard are played
// through the keyboard and the frame tick; a tap between two queries is the
// table's own: seen once, and by that key only.
TEST(KeyStateTest, ATapBetweenTwoQueriesIsSeenOnce) {
  KeyState keys;
  keys.Press(13);
  keys.Release(13);
  EXPECT_EQ(keys.Query(39) | keys.Query(1000), 0);
  EXPECT_NE(keys.Query(13), 0);
  EXPECT_EQ(keys.Query(13), 0);
}

using platform::KeyOutcome;

// Enter held on the form when a box opens answers it only once pressed
// again after a release at an earlier moment: never by a marked repeat, a
// plain press, or a release and press of one moment, as X may send repeats.
// Space was up, so its first press goes to the box.
TEST(KeyboardTest, ABoxTakesOnlyFreshPressesOfKeysHeldWhenItOpened) {
  platform::Keyboard keyboard;
  keyboard.Key(13, true, false);
  keyboard.Key(13, true, true);
  keyboard.OpenBox();
  EXPECT_EQ(keyboard.Table().Query(13), 0);  // the game no longer sees it
  keyboard.Key(37, true, false);             // a box's keys are the box's
  EXPECT_EQ(keyboard.Table().Query(37), 0);
  EXPECT_EQ(keyboard.BoxKey(13, true, true, 10), KeyOutcome::Stop);
  EXPECT_EQ(keyboard.BoxKey(13, true, false, 20), KeyOutcome::Stop);
  EXPECT_EQ(keyboard.BoxKey(13, false, false, 30), KeyOutcome::Stop);
  EXPECT_EQ(keyboard.BoxKey(13, true, false, 30), KeyOutcome::Stop);
  EXPECT_EQ(keyboard.BoxKey(13, false, false, 40), KeyOutcome::Stop);
  EXPECT_EQ(keyboard.BoxKey(13, true, false, 50), KeyOutcome::CloseBox);
  EXPECT_EQ(keyboard.BoxKey(32, true, false, 60), KeyOutcome::Pass);
  EXPECT_EQ(keyboard.BoxKey(65, true, false, 60), KeyOutcome::Pass);  // not an answering key: the box's own affair
  EXPECT_EQ(keyboard.BoxKey(9, true, false, 60), KeyOutcome::Stop);   // nowhere to go in a one-button box
  keyboard.CloseBox();
}

// A box closes on Enter and Escape as they go down, on Space only as it
// comes up after going down in the box.
TEST(KeyboardTest, SpaceAnswersABoxAsItComesUpAfterGoingDownInIt) {
  platform::Keyboard keyboard;
  keyboard.Key(32, true, false);
  keyboard.OpenBox();
  EXPECT_EQ(keyboard.BoxKey(32, false, false, 10), KeyOutcome::Stop);  // the held Space let go
  EXPECT_EQ(keyboard.BoxKey(32, true, false, 20), KeyOutcome::Pass);
  EXPECT_EQ(keyboard.BoxKey(32, false, false, 30), KeyOutcome::CloseBox);
  EXPECT_EQ(keyboard.BoxKey(27, false, false, 40), KeyOutcome::Pass);
  EXPECT_EQ(keyboard.BoxKey(27, true, false, 40), KeyOutcome::CloseBox);
  keyboard.CloseBox();
  EXPECT_EQ(keyboard.BoxKey(13, true, false, 50), KeyOutcome::Pass);  // no box open
}

// Which keys count as held for the next box: not one the form stopped
// hearing, nor one pressed in a box (its release may land anywhere), but
// one the window system says is down, wherever it was pressed.
TEST(KeyboardTest, AKeyTheFormStoppedHearingIsNotHeld) {
  platform::Keyboard keyboard;
  const auto firstPressAnswers = [&keyboard](const std::optional<std::set<int>>& downNow = {}) {
    keyboard.OpenBox(downNow);
    const bool answered = keyboard.BoxKey(13, true, false, 100) == KeyOutcome::CloseBox;
    keyboard.CloseBox();
    return answered;
  };
  keyboard.Key(13, true, false);
  keyboard.Lost();
  EXPECT_EQ(keyboard.Table().Query(13), 0);
  EXPECT_TRUE(firstPressAnswers());

  keyboard.OpenBox();
  ASSERT_EQ(keyboard.BoxKey(13, true, false, 200), KeyOutcome::CloseBox);  // the release is never heard
  keyboard.CloseBox();
  EXPECT_TRUE(firstPressAnswers());

  EXPECT_FALSE(firstPressAnswers(std::set{13}));
  keyboard.Key(13, true, false);
  EXPECT_FALSE(firstPressAnswers(std::set<int>{}));  // heard held on the form, it stays held
}

TEST(ColourTest, RedIsTheLowByteAndSystemColoursResolve) {
  EXPECT_EQ(platform::RGB(1, 2, 3), 0x030201u);
  EXPECT_EQ(platform::ResolveColour(platform::vbWindowBackground), platform::RGB(255, 255, 255));
}

// Ticks raised in `span` when every tick is handled `lateness` after it falls due.
// Every front end draws at this scale. 125 % stays at one, 150 % and 175 %
// draw at two; a page narrower than the window takes a smaller one, never
// less than one.
TEST(WholeScaleTest, RoundsTheRatioHalvesUpAndShrinksOnlyToFit) {
  const std::pair<double, int> scales[] = {{0.5, 1}, {1, 1}, {1.25, 1}, {1.49, 1}, {1.5, 2},
                                           {1.75, 2}, {2.49, 2}, {2.5, 3}, {3, 3}};
  for (const auto& [ratio, scale] : scales) EXPECT_EQ(platform::WholeScale(ratio), scale) << ratio;
  EXPECT_EQ(platform::WholeScale(3, 310, 310), 3);  // 930 device pixels: just fits
  EXPECT_EQ(platform::WholeScale(3, 310, 309), 2);
  EXPECT_EQ(platform::WholeScale(2, 310, 100), 1);
}

static int TicksIn(int intervalMs, TickPacer::Clock::duration span, TickPacer::Clock::duration lateness) {
  TickPacer pacer;
  const auto start = TickPacer::Clock::time_point{};
  pacer.Start(start, intervalMs);
  int ticks = 0;
  for (; pacer.Deadline() + lateness <= start + span; ++ticks) pacer.Ticked(pacer.Deadline() + lateness);
  return ticks;
}

TEST(TickPacerTest, HoldsSixtyFourTicksASecondWithoutDrift) {
  EXPECT_EQ(TicksIn(1, seconds(10), {}), 640);
  // Handling each tick late does not slow the pace: the deadlines stay on their grid.
  EXPECT_EQ(TicksIn(1, seconds(10), milliseconds(9)), 639);
  EXPECT_EQ(TicksIn(15, seconds(10), {}), 640);  // below the granularity
  EXPECT_EQ(TicksIn(1000, seconds(10), milliseconds(5)), 9);
  EXPECT_EQ(TicksIn(1000, seconds(10) + milliseconds(1), {}), 10);
}

// The event loop stalls just before a tick falls due, wakes that many periods
// later, then wakes at each deadline again, raising every tick that is due
// when it wakes. The wake-up raises exactly one tick. From a whole period
// behind on, a new grid starts then; a tick less late keeps the grid, so the
// next one comes early and the pace holds.
TEST(TickPacerTest, AStallCostsOneTickAndNoBurst) {
  for (const int intervalMs : {1, 1000}) {
    for (const double stallPeriods : {0.5, 1.5, 3.0, 5.0, 30.0}) {
      SCOPED_TRACE(testing::Message() << intervalMs << " ms, stalled " << stallPeriods << " periods");
      const auto period = TickPacer::PeriodFor(intervalMs);
      const auto due = TickPacer::Clock::time_point{} + 10 * period;
      const nanoseconds late = duration_cast<nanoseconds>(stallPeriods * period);
      TickPacer pacer;
      pacer.Start(TickPacer::Clock::time_point{}, intervalMs);
      while (pacer.Deadline() < due) pacer.Ticked(pacer.Deadline());
      std::vector<nanoseconds> ticks;  // after the deadline that the stall passed
      for (auto now = due + late; ticks.size() < 3; now = pacer.Deadline())
        for (int raised = 0; pacer.Deadline() <= now && raised < 100; ++raised) {
          pacer.Ticked(now);
          ticks.push_back(now - due);
        }
      const nanoseconds next = stallPeriods < 1 ? period : late + period;
      EXPECT_EQ(ticks, (std::vector{late, next, next + period}));
    }
  }
}

// A timer's grid starts when it is enabled, from that moment, and again when
// it is enabled anew or its interval changes; the wait to its deadline is
// rounded up to a whole millisecond. A stopped timer, or one woken more
// than a window system's rounding before its deadline, raises nothing.
TEST(TimerScheduleTest, EachStartLaysANewGridFromThatMoment) {
  platform::Timer timer({.kind = platform::ControlKind::Timer, .name = "Timer2", .container = "Form1",
                         .enabled = false, .interval = 1000});
  platform::TimerSchedule schedule;
  schedule.Drive(timer);
  const auto at = [](int ms) { return TickPacer::Clock::time_point{} + milliseconds(ms); };
  EXPECT_FALSE(schedule.Sync(at(0)));
  EXPECT_EQ(schedule.WakeIn(0, at(0)), std::nullopt);

  timer.Enabled = true;
  EXPECT_TRUE(schedule.Sync(at(300) + microseconds(250)));
  EXPECT_EQ(schedule.WakeIn(0, at(300)), milliseconds(1001));
  EXPECT_EQ(schedule.Woke(0, at(1298)), nullptr);
  EXPECT_EQ(schedule.Woke(0, at(1299)), &timer);  // early by less than the rounding: on time
  EXPECT_EQ(schedule.WakeIn(0, at(1299)), milliseconds(1002));
  EXPECT_FALSE(schedule.Sync(at(1400)));  // nothing changed: the grid holds

  timer.Enabled = false;
  EXPECT_TRUE(schedule.Sync(at(2000)));
  EXPECT_EQ(schedule.Woke(0, at(2301)), nullptr);
  timer.Enabled = true;
  schedule.Sync(at(5050));
  EXPECT_EQ(schedule.WakeIn(0, at(5050)), milliseconds(1000));
  timer.Interval = 500;
  schedule.Sync(at(5100));
  EXPECT_EQ(schedule.WakeIn(0, at(5100)), milliseconds(500));
}
