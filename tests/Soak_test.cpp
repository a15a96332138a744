#include <array>
#include <random>

#include "platform/Conversions.h"
#include "tests/GameFixture.h"

using namespace platform;

// A million ticks of random keys with games started and ended along the way:
// after every tick the player is in the field, the bullet parked on it, over
// the field or just withdrawn, the score has grown only by hits of a flying
// bullet, and no drawing outlives the field; a window that repaints only
// what each pass said changed shows the field as it is.
TEST_F(GameTest, SoakRandomPlayKeepsEveryRuleAndEveryGameEnds) {
  constexpr std::array<int, 5> kKeys = {vbKeyLeft, vbKeyRight, vbKeyUp, vbKeyDown, vbKeyReturn};
  constexpr std::array<const char*, 6> kLimits = {"1", "2", "3", "2.5", "0", "x"};
  std::mt19937 chance(20261207);
  auto oneIn = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(chance) == 0; };
  std::array<bool, 5> held{};
  // Counted in ticks, so that a slow build (the sanitizers') plays as much.
  constexpr int kTicks = 1'000'000;
  int hits = 0;

  for (int ticks = 0; ticks < kTicks; ++ticks) {
    for (std::size_t k = 0; k < kKeys.size(); ++k)
      if (oneIn(24)) (held[k] = !held[k]) ? front.HoldKey(kKeys[k]) : front.ReleaseKey(kKeys[k]);
    if (!held[4] && oneIn(200)) front.HoldKey(vbKeyReturn), front.ReleaseKey(vbKeyReturn);
    if (form.NewGame.Enabled && oneIn(2000)) {
      front.Type(form.time, kLimits[std::uniform_int_distribution<std::size_t>(0, kLimits.size() - 1)(chance)]);
      front.Click(form.NewGame);
    }

    const double score = TextToNumber(form.Score.Caption).value();
    Tick();
    const PictureBox &p = form.player1, &b = form.bullet;
    const double gained = TextToNumber(form.Score.Caption).value() - score;
    const bool parked = !b.Visible && At(b) == At(p);
    const bool overField = b.Left >= -135 && b.Left <= 6975 && b.Top >= -135 && b.Top <= 4935;
    ASSERT_TRUE(p.Left >= 0 && p.Left <= 6975 - 135 && p.Top >= 0 && p.Top <= 4935 - 135) << "tick " << ticks;
    ASSERT_TRUE(b.Visible ? overField : parked || !overField) << "tick " << ticks;
    ASSERT_TRUE(gained >= 0 && gained <= 5 && (gained == 0 || !parked)) << "tick " << ticks;
    ASSERT_TRUE(form.Back.Visible || !front.ShowsMarks(form.Back));
    ASSERT_TRUE(ticks % 4096 != 0 || front.RepaintsKeepUp(form.Back)) << "tick " << ticks;
    hits += static_cast<int>(gained);

    if (ticks % 64 == 63) Clock();  // games of a few seconds, ended as GameClock_test shows
  }
  EXPECT_GT(front.MessageBoxes().size(), 1u + kTicks / 100'000);  // the instructions, then each game's end
  EXPECT_GT(hits, kTicks / 100'000);
}
