#include <string>
#include <vector>

#include "tests/GameFixture.h"

using namespace platform;

namespace {

class GameClockTest : public GameTest {
 protected:
  // Whether the limit started a game.
  bool Start(const std::string& limit) {
    front.Type(form.time, limit);
    front.Click(form.NewGame);
    return form.Timer2.Enabled;
  }
  // Clock ticks until a box opens; the counts that the box showed on the way.
  std::vector<std::string> RunOut(int most = 100) {
    std::vector<std::string> counts;
    const std::size_t boxes = front.MessageBoxes().size();
    for (int i = 0; i < most && front.MessageBoxes().size() == boxes; ++i) {
      Clock();
      counts.push_back(form.time.Text);
    }
    return counts;
  }
  void ExpectIdle() {
    EXPECT_FALSE(form.Back.Visible);
    EXPECT_FALSE(form.Timer2.Enabled);
    EXPECT_TRUE(form.time.Enabled);
    EXPECT_TRUE(form.NewGame.Enabled);
    EXPECT_TRUE(form.Timer1.Enabled);
  }
  std::string LastPrompt() const { return front.MessageBoxes().back().prompt; }
};

TEST_F(GameClockTest, GamesRunOutOneSecondATickAndQuoteTheLimitAsTyped) {
  struct Case {
    const char* limit;
    std::vector<std::string> counts;
  };
  const Case cases[] = {
      {"1", {"0"}},
      {"030", {"29", "28", "27"}},  // the first three of thirty
      {"30", {"29", "28", "27"}},
      {"2.5", {"1.5", "0.5", "0"}},  // a fraction stops at zero and ends
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.limit);
    ASSERT_TRUE(Start(c.limit));
    EXPECT_FALSE(front.Click(form.NewGame));  // locked while the game runs
    EXPECT_TRUE(form.Back.Visible);
    EXPECT_EQ(form.hidden.Caption, c.limit);
    const std::vector<std::string> counts = RunOut();
    ASSERT_GE(counts.size(), c.counts.size());
    EXPECT_TRUE(std::equal(c.counts.begin(), c.counts.end(), counts.begin()));
    EXPECT_EQ(counts.size(), c.limit == std::string("2.5") ? 3u : std::stoul(c.limit));
    EXPECT_EQ(counts.back(), "0");
    EXPECT_EQ(front.MessageBoxes().back().caption, "vantor");
    EXPECT_EQ(LastPrompt(), "Game over. You made 0 hits in " + std::string(c.limit) + " seconds!");
    ExpectIdle();
    EXPECT_EQ(form.time.Text, "0");
  }
}

TEST_F(GameClockTest, TheEndStopsTheClockBeforeTheBoxAndResetsOnlyAfterItCloses) {
  ASSERT_TRUE(Start("1"));
  form.Picture4.Move(1320, 1080);  // in the bullet's path: one hit
  TickHolding({vbKeyReturn});
  Tick();
  ASSERT_EQ(form.Score.Caption, "1");
  ASSERT_FALSE(front.MarksOn(form.Back).empty());

  bool looked = false;
  front.WhileMessageBoxOpen([&](const HeadlessFrontEnd::MessageBox&) {
    looked = true;
    EXPECT_FALSE(form.Timer2.Enabled);
    EXPECT_EQ(form.Score.Caption, "1");
    EXPECT_TRUE(form.Back.Visible);
    EXPECT_FALSE(form.NewGame.Enabled);
    EXPECT_FALSE(form.time.Enabled);
  });
  Clock();
  ASSERT_TRUE(looked);
  EXPECT_EQ(LastPrompt(), "Game over. You made 1 hits in 1 seconds!");
  ExpectIdle();
  EXPECT_EQ(form.Score.Caption, "0");
  EXPECT_EQ(form.Caption, "Viveve");          // stays once a bullet has flown
  EXPECT_TRUE(front.MarksOn(form.Back).empty());  // the next game starts clean

  // The unseen game goes on: a hit between games counts up from that "0".
  form.Picture5.Move(form.bullet.Left, form.bullet.Top);
  Tick();
  EXPECT_EQ(form.Score.Caption, "1");
  front.Click(form.NewGame);  // "0" left in the box: no game
  ExpectIdle();
}

TEST_F(GameClockTest, OnlyANumberFromOneTo10e15StartsAGame) {
  const std::string refused[] = {"0.999", "0", "-5", "", "   ", "abc", "1e400", "1000000000000000.125", "inf",
                                 "nan", "0x10", "3 0", "30\n", std::string(100000, '9'), std::string("3\0", 2)};
  Script({});
  form.Score.Caption = "4";
  for (const std::string& limit : refused) {
    SCOPED_TRACE(testing::Message() << '"' << limit.substr(0, 20) << '"');
    front.Type(form.time, limit);
    front.Click(form.NewGame);
    ExpectIdle();
    EXPECT_EQ(form.Score.Caption, "4");
    EXPECT_EQ(form.hidden.Caption, "0");
    EXPECT_EQ(form.Picture4.Left, 2400);
    EXPECT_EQ(random.taken, 0);
  }
  EXPECT_TRUE(Start("1e15"));  // the longest limit that starts a game
}

TEST_F(GameClockTest, AStartColoursAllFiveDotsBeforePlacingAnyAndLeavesThePlayerAlone) {
  for (int i = 1; i <= 25; ++i) random.draws.push_back(i == 17 ? 0.02f : i / 32.f);
  front.UseRandom(random);
  Hold(vbKeyLeft);
  Tick(3);
  Release(vbKeyLeft);
  const Spot stood = At(form.player1);
  const Picture facing = form.player1.Picture;
  ASSERT_TRUE(Start("30"));
  EXPECT_EQ(random.taken, 25);
  struct Dot {
    PictureBox& box;
    Colour colour;
    Twips left, top;
  };
  const Dot dots[] = {{form.Picture4, RGB(7, 15, 23), 3487, 200},  // 98.7 lies in the top band
                      {form.Picture5, RGB(31, 39, 47), 3923, 2930},
                      {form.Picture6, RGB(55, 63, 71), 4359, 3238},
                      {form.Picture7, RGB(79, 87, 95), 4795, 3547},
                      {form.Picture8, RGB(103, 111, 119), 5231, 3855}};
  for (const Dot& dot : dots) {
    EXPECT_EQ(dot.box.BackColor, dot.colour);
    EXPECT_EQ(At(dot.box), Spot(dot.left, dot.top));
  }
  EXPECT_EQ(At(form.player1), stood);
  EXPECT_EQ(form.player1.Picture.Handle(), facing.Handle());
  EXPECT_FALSE(form.bullet.Visible);
  EXPECT_EQ(form.direction.Caption, "left");
}

TEST_F(GameClockTest, ACountThatNoLongerReadsAsANumberEndsTheGameAtThatTick) {
  ASSERT_TRUE(Start("30"));
  Clock(5);
  form.time.Text = "twenty";
  Clock();
  ASSERT_EQ(front.MessageBoxes().size(), 2u);
  EXPECT_EQ(LastPrompt(), "Game over. You made 0 hits in 30 seconds!");
  EXPECT_EQ(form.time.Text, "twenty");
  ExpectIdle();
}

}  // namespace
