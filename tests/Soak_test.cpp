#include <array>
#include <chrono>
#include <random>
#include <string>

#include "platform/Conversions.h"
#include "tests/GameFixture.h"

using namespace platform;

namespace {

// Millions of ticks of random play, games started and ended along the way,
// with what must always hold checked after every tick.
class SoakTest : public GameTest {
 protected:
  static constexpr int kTicks = 3'000'000;
  static constexpr auto kTimeBound = std::chrono::seconds(25);
  static constexpr std::array<int, 5> kKeys = {vbKeyLeft, vbKeyRight, vbKeyUp, vbKeyDown, vbKeyReturn};
  static constexpr std::array<const char*, 6> kLimits = {"1", "2", "3", "2.5", "0", "x"};

  void CheckInvariants() {
    const PictureBox& p = form.player1;
    ASSERT_TRUE(p.Left >= 0 && p.Left <= 6975 - 135 && p.Top >= 0 && p.Top <= 4935 - 135);
    const PictureBox& b = form.bullet;
    const bool overField = b.Left >= -135 && b.Left <= 6975 && b.Top >= -135 && b.Top <= 4935;
    const bool parked = b.Left == p.Left && b.Top == p.Top;
    ASSERT_TRUE(b.Visible ? overField : parked || !overField) << b.Left << ", " << b.Top;
    for (const PictureBox* dot : Dots()) {
      ASSERT_TRUE(dot->Left >= 0 && dot->Left < 6975) << dot->Left;
      if (dot->BackColor == 0) ASSERT_TRUE(dot->Top >= 100 && dot->Top <= kCoordinateLimit) << dot->Top;
      else ASSERT_TRUE(dot->Top == 200 || (dot->Top >= 100 && dot->Top < 4935)) << dot->Top;
    }
    ASSERT_LE(front.MarksOn(form.Back).size(), HeadlessFrontEnd::kMarksKept);
    ASSERT_TRUE(form.Back.Visible || front.MarksOn(form.Back).empty());
  }
};

TEST_F(SoakTest, RandomPlayKeepsEveryRuleAndEveryGameEnds) {
  std::mt19937 chance(20261207);
  auto oneIn = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(chance) == 0; };
  std::array<bool, 5> held{};
  int hits = 0, gamesEnded = 0, secondsInGame = 0, ticks = 0;
  std::string limit;
  const auto deadline = std::chrono::steady_clock::now() + kTimeBound;

  for (; ticks < kTicks && (ticks % 4096 != 0 || std::chrono::steady_clock::now() < deadline); ++ticks) {
    for (std::size_t k = 0; k < kKeys.size(); ++k)
      if (oneIn(24)) (held[k] = !held[k]) ? Hold(kKeys[k]) : Release(kKeys[k]);
    if (!held[4] && oneIn(200)) {
      Hold(vbKeyReturn);
      Release(vbKeyReturn);
    }
    if (form.NewGame.Enabled && oneIn(2000)) {
      limit = kLimits[std::uniform_int_distribution<std::size_t>(0, kLimits.size() - 1)(chance)];
      front.Type(form.time, limit);
      front.Click(form.NewGame);
      if (form.Timer2.Enabled) secondsInGame = 0;
    }

    // A tick scores only while the bullet flies, at most once a dot.
    const double score = TextToNumber(form.Score.Caption).value();
    Tick();
    const double gained = TextToNumber(form.Score.Caption).value() - score;
    const bool parked = !form.bullet.Visible && At(form.bullet) == At(form.player1);
    ASSERT_TRUE(gained >= 0 && gained <= 5 && (gained == 0 || !parked)) << "tick " << ticks;
    hits += static_cast<int>(gained);
    ASSERT_NO_FATAL_FAILURE(CheckInvariants()) << "tick " << ticks;

    if (ticks % 64 == 63 && form.Timer2.Enabled) {
      const std::string shown = form.Score.Caption;
      const std::size_t boxes = front.MessageBoxes().size();
      Clock();
      ++secondsInGame;
      if (front.MessageBoxes().size() > boxes) {
        ASSERT_EQ(front.MessageBoxes().back().prompt, "Game over. You made " + shown + " hits in " + limit + " seconds!");
        ASSERT_EQ(form.Score.Caption, "0");
        ++gamesEnded;
      }
      ASSERT_LE(secondsInGame, 3) << "a game of " << limit << " seconds goes on";
    }
  }
  EXPECT_GT(ticks, 100'000);
  EXPECT_GT(gamesEnded, ticks / 100'000);
  EXPECT_GT(hits, ticks / 100'000);
  RecordProperty("ticks", ticks);
  RecordProperty("games", gamesEnded);
  RecordProperty("hits", hits);
}

}  // namespace
