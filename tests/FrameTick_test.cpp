#include <cmath>
#include <tuple>
#include <vector>

#include "platform/Image.h"
#include "platform/Pixels.h"
#include "tests/GameFixture.h"

using namespace platform;

namespace {

class FrameTickTest : public GameTest {
 protected:
  // Parks the bullet on a player standing at (left, top), then ticks once
  // holding the keys.
  void FireFrom(Twips left, Twips top, const std::vector<int>& keys = {vbKeyReturn}) {
    form.bullet.Visible = false;
    form.player1.Move(left, top);
    Tick();
    TickHolding(keys);
  }
  // Everything but the dot under test out of the bullet's way.
  void OnlyDot(PictureBox& dot, Twips left, Twips top) {
    for (PictureBox* other : Dots()) other->Move(6000, 4000);
    dot.Move(left, top);
  }
};

// Each held arrow key steps the player 20 twips and turns it. The last one
// polled (left, right, up, down) wins the facing and, with the bullet parked,
// the heading. An edge stops the step but not the turn. Every parked tick
// reads the heading back from the picture the player shows.
TEST_F(FrameTickTest, HeldArrowKeysStepAndTurnThePlayerAndTheLastPolledWins) {
  const Picture own = form.player1.Picture;  // the start-up picture, none of dir's
  constexpr Twips right = 6975 - 135, bottom = 4935 - 135;
  // Keys held, from, to, the facing (-1 for its own picture), the heading.
  const std::tuple<std::vector<int>, Spot, Spot, int, const char*> cases[] = {
      {{}, {1000, 1000}, {1000, 1000}, -1, "down"},
      {{vbKeyLeft, vbKeyRight}, {1000, 1000}, {1000, 1000}, 3, "right"},
      {{vbKeyUp, vbKeyDown}, {1000, 1000}, {1000, 1000}, 1, "down"},
      {{vbKeyUp, vbKeyLeft}, {1000, 1000}, {980, 980}, 0, "up"},
      {{vbKeyRight, vbKeyUp}, {1000, 1000}, {1020, 980}, 0, "up"},
      {{vbKeyLeft, vbKeyDown}, {1000, 1000}, {980, 1020}, 1, "down"},
      {{vbKeyLeft}, {10, 500}, {0, 500}, 2, "left"},
      {{vbKeyUp}, {500, 10}, {500, 0}, 0, "up"},
      {{vbKeyRight}, {right - 10, 500}, {right, 500}, 3, "right"},
      {{vbKeyDown}, {500, bottom - 10}, {500, bottom}, 1, "down"},
  };
  for (const auto& [keys, from, to, facing, word] : cases) {
    SCOPED_TRACE(testing::Message() << "from " << from.first << ", " << from.second << " facing " << facing);
    form.player1.Move(from.first, from.second);
    form.player1.Picture = own;
    form.direction.Caption = "down";
    TickHolding(keys);
    EXPECT_EQ(At(form.player1), to);
    EXPECT_TRUE(form.player1.Picture == (facing < 0 ? own : form.dir(facing).Picture));
    EXPECT_EQ(form.direction.Caption, word);
    form.direction.Caption = "none";
    Tick();
    EXPECT_EQ(form.direction.Caption, facing < 0 ? "none" : word);
  }
}

// Black dots sink 60 twips every tick, parked or flying, before the hit tests,
// until they rest at the coordinate limit. A parked tick does nothing else.
TEST_F(FrameTickTest, BlackDotsSinkEveryTickBeforeTheHitTests) {
  OnlyDot(form.Picture8, 1320, 840);
  form.Picture6.Top = kCoordinateLimit - 100;
  for (PictureBox* dot : {&form.Picture5, &form.Picture6, &form.Picture8}) dot->BackColor = 0;
  Script({});
  Tick();
  EXPECT_EQ(form.Caption, "Form1");  // parked: no caption, no trail
  EXPECT_EQ(random.taken, 0);
  // Picture8 sinks to 1020 in the launch tick: its bottom edge meets the bullet's top edge.
  FireFrom(1320, 1155);
  EXPECT_EQ(form.Score.Caption, "1");
  EXPECT_EQ(form.Picture5.Top, 4000 + 3 * 60);
  EXPECT_EQ(form.Picture6.Top, kCoordinateLimit);
}

// The launch tick turns the player first, then fires from where the bullet was
// parked, the new way. The bullet flies 70 twips a tick and is withdrawn in the
// first tick clear of the field; touching an edge is still over it.
TEST_F(FrameTickTest, TheLaunchLeavesTheParkedSpotTheWayOfThisTicksKeyUntilClearOfTheField) {
  const std::tuple<int, Spot, Spot> launches[] = {  // key, parked at, withdrawn at
      {vbKeyLeft, {915, 1000}, {-205, 1000}},
      {vbKeyUp, {1000, 915}, {1000, -205}},
      {vbKeyRight, {6835, 1000}, {7045, 1000}},  // out of sight past the inner width
      {vbKeyDown, {1000, 4795}, {1000, 5005}}};
  for (const auto& [key, parked, withdrawn] : launches) {
    FireFrom(parked.first, parked.second, {key, vbKeyReturn});
    for (int i = 0; i < 200 && form.bullet.Visible; ++i) Tick();
    EXPECT_EQ(At(form.bullet), withdrawn) << "key " << key;
  }
}

// Enter held through a withdrawal shows the bullet again where it left, heading
// the way the player faces then; a turn in flight changes nothing.
TEST_F(FrameTickTest, HeldEnterRelaunchesFromWhereTheBulletLeftOnTheWayThePlayerFaces) {
  FireFrom(6835, 1000, {vbKeyRight, vbKeyReturn});
  front.HoldKey(vbKeyReturn);
  TickHolding({vbKeyUp});  // a turn in flight
  EXPECT_EQ(form.direction.Caption, "right");
  while (form.bullet.Visible) Tick();
  Tick();  // withdrawn at 7045, shown again, it takes "up" before it flies
  EXPECT_EQ(At(form.bullet), Spot(7045, 930));
  EXPECT_FALSE(form.bullet.Visible);  // still past the right edge

  TickHolding({vbKeyLeft});  // a turn while it is hidden brings it back in
  EXPECT_EQ(At(form.bullet), Spot(6975, 930));
  EXPECT_TRUE(form.bullet.Visible);

  front.ReleaseKey(vbKeyReturn);
  while (form.bullet.Visible) Tick();
  Tick();
  EXPECT_EQ(At(form.bullet), At(form.player1));  // parked only once Enter reads up
  EXPECT_TRUE(form.sshoot.Visible);
}

// A dot is struck when its box overlaps or touches the bullet's, with each
// right or bottom edge summed in single precision, as the controls hold them.
TEST_F(FrameTickTest, TheBulletStrikesWhatItOverlapsOrTouchesOnSinglePrecisionSums) {
  const std::tuple<Spot, Twips, bool> cases[] = {  // the dot, the bullet's left (its top is 1080), a hit
      {{1455, 1080}, 1320, true}, {{1456, 1080}, 1320, false}, {{1185, 1080}, 1320, true},
      {{1184, 1080}, 1320, false}, {{1455, 1215}, 1320, true}, {{1185, 944}, 1320, false},
      {{1370, 1130}, 1320, true},
      // 121 - 2^-17 plus 135 rounds to 256 in single precision: the edges touch.
      {{121.0f - std::ldexp(1.0f, -17), 1080}, 256, true},
  };
  for (const auto& [dot, from, hit] : cases) {
    form.Score.Caption = "0";
    OnlyDot(form.Picture6, dot.first, dot.second);
    FireFrom(from, 1080);
    EXPECT_EQ(form.Score.Caption, hit ? "1" : "0") << "dot at " << dot.first << ", " << dot.second;
  }
}

// A flying tick draws its trail before it places what it struck: two colours
// of three draws each, then two for each struck dot, in order. The marks
// stand at the corners where the bullet stood before this tick's move. Each
// dot is tested once a tick: one that jumps back under the bullet counts once.
TEST_F(FrameTickTest, AFlyingTickDrawsTwoMarksWhereTheBulletStoodThenPlacesWhatItStruck) {
  front.Click(form.NewGame);  // marks show only on the field of a game
  FireFrom(1320, 1080);       // before any arrow key the player's own picture keeps "down"
  EXPECT_FALSE(form.sshoot.Visible);
  EXPECT_EQ(form.Caption, "Viveve");
  const Twips left = form.bullet.Left, top = form.bullet.Top;
  OnlyDot(form.Picture4, left, top);
  form.Picture7.Move(left + 80, top + 20);
  form.Score.Caption = "0";
  Script({0.99999994f, 0, 0.2f, 0.3f, 0.4f, 0.6f, 0.19f, 0.234f, 0.5f, 0.0203f});
  Tick();
  std::vector<std::tuple<Twips, Twips, Twips, Twips, Colour>> marks;  // x1, y1, x2, y2, colour
  for (const LineSegment& m : front.StrokesOfLastEvent(form.Back)) marks.push_back({m.x1, m.y1, m.x2, m.y2, m.colour});
  EXPECT_EQ(marks, (decltype(marks){{left, top - 5, left, top, RGB(254, 0, 51)},
                                    {left + 135, top + 130, left + 135, top + 135, RGB(76, 102, 153)}}));
  EXPECT_EQ(form.bullet.Top, top + 70);
  EXPECT_EQ(form.Score.Caption, "2");
  EXPECT_EQ(At(form.Picture4), Spot(1325, 1154));
  EXPECT_EQ(At(form.Picture7), Spot(3487, 100));  // a top of exactly 100 stays

  // The first mark lies on the player, who fired from there: the window
  // shows the player over it, and the mark in its own colour once it moves off.
  const PixelRect mark = StrokePixels(front.StrokesOfLastEvent(form.Back)[0]);
  const PixelRect player = PixelRectOf(form.player1);
  ASSERT_EQ(player.Intersected(mark), mark);
  EXPECT_EQ(front.Shows(form.Back, mark.x, mark.y),
            0xFF000000u | ImageOf(form.player1.Picture).At(mark.x - player.x, mark.y - player.y));
  form.player1.Move(0, 0);
  Tick();
  EXPECT_EQ(front.Shows(form.Back, mark.x, mark.y), 0xFFFE0033u);
}

}  // namespace
