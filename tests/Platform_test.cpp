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

// Enter held on the form when a box opens, though only its repeats came
// there, answers it only once pressed again after a release at an earlier
// moment: never by a marked repeat, a plain press, or a release and press of
// one moment, as X may send repeats. Space, which answers as it comes up,
// answers only after going down anew. A key not held when the box opened
// answers at once, even marked a repeat.
TEST(KeyboardTest, ABoxTakesOnlyFreshPressesOfKeysHeldWhenItOpened) {
  platform::Keyboard keyboard;
  keyboard.Key(13, true, true);
  keyboard.Key(32, true, false);
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
  EXPECT_EQ(keyboard.BoxKey(32, false, false, 60), KeyOutcome::Stop);
  EXPECT_EQ(keyboard.BoxKey(32, true, false, 70), KeyOutcome::Pass);
  EXPECT_EQ(keyboard.BoxKey(32, false, false, 80), KeyOutcome::CloseBox);
  EXPECT_EQ(keyboard.BoxKey(65, true, false, 60), KeyOutcome::Pass);  // not an answering key: the box's own affair
  EXPECT_EQ(keyboard.BoxKey(9, true, false, 60), KeyOutcome::Stop);   // nowhere to go in a one-button box
  EXPECT_EQ(keyboard.BoxKey(27, true, true, 90), KeyOutcome::CloseBox);
  keyboard.CloseBox();
}

// Which keys count as held for the next box: one the window system says is
// down, wherever it was pressed, and one heard held on the form though the
// window system says it is up. A key let go elsewhere, or pressed in the box
// before, is the scenarios' to play.
TEST(KeyboardTest, AKeyIsHeldForABoxIfTheWindowSystemOrTheFormSaysSo) {
  platform::Keyboard keyboard;
  const auto firstPressAnswers = [&keyboard](const std::optional<std::set<int>>& downNow) {
    keyboard.OpenBox(downNow);
    const bool answered = keyboard.BoxKey(13, true, false, 100) == KeyOutcome::CloseBox;
    keyboard.CloseBox();
    return answered;
  };
  EXPECT_TRUE(firstPressAnswers(std::set<int>{}));
  EXPECT_FALSE(firstPressAnswers(std::set{13}));
  keyboard.Key(13, true, false);
  EXPECT_FALSE(firstPressAnswers(std::set<int>{}));
}

TEST(ColourTest, SystemColoursResolveToTheStandardScheme) {
  EXPECT_EQ(platform::ResolveColour(platform::vbWindowBackground), platform::RGB(255, 255, 255));
}

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

// The game's clock and frame tick keep their pace through late and stalled
// wake-ups (GameClock_test). What no window system's wake-up in whole
// milliseconds reaches there: a wake-up a little early still ticks, one
// more than the rounding early or for a stopped timer does not, and a new
// interval lays a new grid.
TEST(TimerScheduleTest, EarlyWakeUpsWithinTheRoundingTickAndANewIntervalRestartsTheGrid) {
  platform::Timer timer({.kind = platform::ControlKind::Timer, .name = "Timer2", .container = "Form1",
                         .enabled = true, .interval = 1000});
  platform::TimerSchedule schedule;
  schedule.Drive(timer);
  const auto at = [](int ms) { return TickPacer::Clock::time_point{} + milliseconds(ms); };
  EXPECT_TRUE(schedule.Sync(at(300) + microseconds(250)));
  EXPECT_EQ(schedule.WakeIn(0, at(300)), milliseconds(1001));  // rounded up
  EXPECT_EQ(schedule.Woke(0, at(1298)), nullptr);
  EXPECT_EQ(schedule.Woke(0, at(1299)), &timer);
  EXPECT_FALSE(schedule.Sync(at(1400)));  // nothing changed: the grid holds
  timer.Interval = 500;
  EXPECT_TRUE(schedule.Sync(at(1500)));
  EXPECT_EQ(schedule.WakeIn(0, at(1500)), milliseconds(500));
  timer.Enabled = false;
  EXPECT_TRUE(schedule.Sync(at(1600)));
  EXPECT_EQ(schedule.WakeIn(0, at(1600)), std::nullopt);
  EXPECT_EQ(schedule.Woke(0, at(2001)), nullptr);
}
