#include <array>
#include <chrono>
#include <string>
#include <vector>

#include "tests/GameFixture.h"

using namespace platform;

namespace {

// Field shown, clock running, time box enabled, button enabled, frame tick running.
using Switches = std::array<bool, 5>;
constexpr Switches kIdle = {false, false, true, true, true};

class GameClockTest : public GameTest {
 protected:
  // Whether the limit started a game.
  bool Start(const std::string& limit) {
    front.Type(form.time, limit);
    front.Click(form.NewGame);
    return form.Timer2.Enabled;
  }
  Switches State() const {
    return {form.Back.Visible, form.Timer2.Enabled, form.time.Enabled, form.NewGame.Enabled, form.Timer1.Enabled};
  }
  std::string LastPrompt() const { return front.MessageBoxes().back().prompt; }
};

// The clock counts the box down a second a tick; at zero the game ends with a
// box that quotes the limit as typed. A fraction stops at zero and ends too.
TEST_F(GameClockTest, GamesRunOutOneSecondATickAndQuoteTheLimitAsTyped) {
  const std::pair<const char*, std::vector<std::string>> cases[] = {
      {"1", {"0"}}, {"03", {"2", "1", "0"}}, {"2.5", {"1.5", "0.5", "0"}}};
  for (const auto& [limit, expected] : cases) {
    SCOPED_TRACE(limit);
    ASSERT_TRUE(Start(limit));
    EXPECT_FALSE(front.Click(form.NewGame));  // locked while the game runs
    front.PressKey(9);  // nor does Tab reach a control, whose news would go unsaid
    EXPECT_EQ(front.Focused(), nullptr);
    EXPECT_EQ(form.hidden.Caption, limit);
    std::vector<std::string> counts;
    while (form.Timer2.Enabled && counts.size() < 100) {
      Clock();
      counts.push_back(form.time.Text);
    }
    EXPECT_EQ(counts, expected);
    EXPECT_EQ(LastPrompt(), "Game over. You made 0 hits in " + std::string(limit) + " seconds!");
    EXPECT_EQ(State(), kIdle);
  }
}

// A count that no longer reads as a number ends the game at that tick, as zero
// does. The box reports the game as it stood, the clock already stopped so
// that it cannot end twice; the window resets once the box is closed.
TEST_F(GameClockTest, TheEndStopsTheClockBeforeTheBoxAndResetsOnlyAfterItCloses) {
  ASSERT_TRUE(Start("30"));
  form.Picture4.Move(1320, 1080);  // in the bullet's path: one hit
  TickHolding({vbKeyReturn});
  Tick();
  ASSERT_TRUE(front.ShowsMarks(form.Back));
  front.AnswerMessageBoxes([&](const std::string&, const std::string&) {
    EXPECT_EQ(State(), (Switches{true, false, false, false, true}));
    EXPECT_EQ(form.Score.Caption, "1");
  });
  form.time.Text = "twenty";
  Clock();
  EXPECT_EQ(LastPrompt(), "Game over. You made 1 hits in 30 seconds!");
  EXPECT_EQ(form.time.Text, "twenty");
  EXPECT_EQ(State(), kIdle);
  EXPECT_EQ(form.Score.Caption, "0");
  EXPECT_EQ(form.Caption, "Viveve");              // stays once a bullet has flown
  EXPECT_FALSE(front.ShowsMarks(form.Back));  // the next game starts clean

  // The unseen game goes on: a hit between games counts up from that "0".
  form.Picture5.Move(form.bullet.Left, form.bullet.Top);
  Tick();
  EXPECT_EQ(form.Score.Caption, "1");
}

// Anything else leaves the window as it was: no game, no draw, no reset.
TEST_F(GameClockTest, OnlyANumberFromOneTo10e15StartsAGame) {
  const std::string refused[] = {"0.999", "0", "-5", "", "   ", "abc", "1e400", "1000000000000000.125", "inf",
                                 "nan", "0x10", "3 0", "30\n", std::string(100000, '9'), std::string("3\0", 2)};
  Script({});
  form.Score.Caption = "4";
  for (const std::string& limit : refused) {
    SCOPED_TRACE(testing::Message() << '"' << limit.substr(0, 20) << '"');
    Start(limit);
    EXPECT_EQ(State(), kIdle);
    EXPECT_EQ(form.Score.Caption, "4");
    EXPECT_EQ(random.taken, 0);
  }
  EXPECT_TRUE(Start("1e15"));  // the longest limit that starts a game
}

// A start draws 25 numbers: three colour components for each dot in turn, then
// two places for each. The player, its facing and the heading stay.
TEST_F(GameClockTest, AStartColoursAllFiveDotsBeforePlacingAnyAndLeavesThePlayerAlone) {
  for (int i = 1; i <= 25; ++i) random.draws.push_back(i == 17 ? 0.02f : i / 32.f);
  Script({});
  TickHolding({vbKeyLeft});
  const Spot stood = At(form.player1);
  ASSERT_TRUE(Start("30"));
  std::vector<std::pair<Colour, Spot>> dots;
  for (PictureBox* dot : Dots()) dots.push_back({dot->BackColor, At(*dot)});
  // Picture4's top of 98.7 lies in the top band.
  EXPECT_EQ(dots, (std::vector<std::pair<Colour, Spot>>{
                      {RGB(7, 15, 23), {3487, 200}}, {RGB(31, 39, 47), {3923, 2930}}, {RGB(55, 63, 71), {4359, 3238}},
                      {RGB(79, 87, 95), {4795, 3547}}, {RGB(103, 111, 119), {5231, 3855}}}));
  EXPECT_EQ(At(form.player1), stood);
  EXPECT_TRUE(form.player1.Picture == form.dir(2).Picture);
  EXPECT_EQ(form.direction.Caption, "left");
}

// The clock keeps to a grid laid when the game starts, the frame tick to 64
// ticks a second, though every wake-up comes up to a millisecond late. After
// a stall the first wake-up raises one tick: from a whole period late on, a
// new grid starts then; less late, the grid holds and the next tick comes
// early. Never two ticks at once.
TEST_F(GameClockTest, AStallCostsTheClockOneTickAndNeverTwoAtOnce) {
  using std::chrono::milliseconds;
  for (const int late : {500, 1000, 1500, 3000}) {
    SCOPED_TRACE(testing::Message() << "woken " << late << " ms late");
    front.Wait(milliseconds(late));  // the game starts off the frame tick's grid
    ASSERT_TRUE(Start("3"));
    form.Picture6.BackColor = 0;
    const Twips top = form.Picture6.Top;
    front.Wait(milliseconds(1000));
    EXPECT_EQ(form.time.Text, "2");
    EXPECT_EQ(form.Picture6.Top, top + 64 * 60);  // a black dot sinks 60 twips a tick
    front.Stall(milliseconds(1000 + late));
    front.Wait(milliseconds(0));
    EXPECT_EQ(form.time.Text, "1");
    front.Wait(milliseconds(late < 1000 ? 999 - late : 999));
    EXPECT_EQ(form.time.Text, "1");
    front.Wait(milliseconds(1));
    EXPECT_EQ(form.time.Text, "0");
  }
}

}  // namespace
