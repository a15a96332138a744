#include <cmath>

#include "tests/GameFixture.h"

using namespace platform;

namespace {

class FrameTickTest : public GameTest {
 protected:
  // Parks the bullet on a player standing at (left, top), turned by the key.
  void ParkOn(Twips left, Twips top, int facingKey = 0) {
    form.bullet.Visible = false;
    form.player1.Move(left, top);
    if (facingKey != 0) TickHolding({facingKey});
    Tick();
  }
  void FireFrom(Twips left, Twips top, int facingKey = 0) {
    ParkOn(left, top, facingKey);
    TickHolding({vbKeyReturn});
  }
  // Everything but the dot under test out of the bullet's way.
  void OnlyDot(PictureBox& dot, Twips left, Twips top) {
    for (PictureBox* other : Dots()) other->Move(6000, 4000);
    dot.Move(left, top);
  }
};

TEST_F(FrameTickTest, ParkedTicksLeaveCaptionScoreAndDotsAloneExceptSinking) {
  form.Picture5.BackColor = 0;
  Tick(10);
  EXPECT_EQ(form.Caption, "Form1");
  EXPECT_EQ(form.Score.Caption, "0");
  EXPECT_EQ(form.Picture4.Top, 3600);
  EXPECT_EQ(form.Picture5.Top, 3360 + 10 * 60);
  EXPECT_TRUE(form.sshoot.Visible);
  EXPECT_EQ(At(form.bullet), At(form.player1));
  EXPECT_EQ(random.taken, 0);
}

TEST_F(FrameTickTest, TheLaunchStartsFromLastTicksSpotWithThisTicksHeading) {
  Tick();
  TickHolding({vbKeyReturn});  // before any arrow key: the player's own picture keeps "down"
  EXPECT_EQ(At(form.bullet), Spot(1320, 1080 + 70));
  EXPECT_FALSE(form.sshoot.Visible);
  EXPECT_EQ(form.Caption, "Viveve");

  ParkOn(2000, 2000);
  Hold(vbKeyRight);
  TickHolding({vbKeyReturn});  // the player steps and turns first, the bullet was still parked
  EXPECT_EQ(form.player1.Left, 2020);
  EXPECT_EQ(form.direction.Caption, "right");
  EXPECT_EQ(At(form.bullet), Spot(2000 + 70, 2000));
}

TEST_F(FrameTickTest, TheBulletIsWithdrawnInTheFirstTickPastEachEdge) {
  struct Case {
    int key;
    Twips left, top;  // of the player before it turns
    Twips lastSeen, withdrawnAt;  // along the flight axis
  };
  const Case cases[] = {
      {vbKeyLeft, 935, 1000, -135, -205},
      {vbKeyUp, 1000, 935, -135, -205},
      {vbKeyRight, 6815, 1000, 6975, 7045},  // out of sight past the inner width
      {vbKeyDown, 1000, 4775, 4935, 5005},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "key " << c.key);
    FireFrom(c.left, c.top, c.key);
    const bool across = c.key == vbKeyLeft || c.key == vbKeyRight;
    Twips last = 0;
    for (int i = 0; i < 200 && form.bullet.Visible; ++i) {
      last = across ? form.bullet.Left : form.bullet.Top;
      Tick();
    }
    EXPECT_EQ(last, c.lastSeen);
    EXPECT_EQ(across ? form.bullet.Left : form.bullet.Top, c.withdrawnAt);
  }
}

TEST_F(FrameTickTest, HeldEnterRelaunchesFromWhereTheBulletLeftOnTheWayThePlayerFaces) {
  FireFrom(6815, 1000, vbKeyRight);
  Hold(vbKeyReturn);
  TickHolding({vbKeyUp});  // a turn in flight leaves the heading alone
  EXPECT_EQ(form.direction.Caption, "right");
  while (form.bullet.Visible) Tick();
  ASSERT_EQ(At(form.bullet), Spot(7045, 1000));

  Tick();  // shown again, it takes the facing as its heading before it flies
  EXPECT_EQ(form.direction.Caption, "up");
  EXPECT_EQ(At(form.bullet), Spot(7045, 930));
  EXPECT_FALSE(form.bullet.Visible);  // still past the right edge

  TickHolding({vbKeyLeft});  // a turn while it is hidden brings it back in
  EXPECT_EQ(At(form.bullet), Spot(6975, 930));
  EXPECT_TRUE(form.bullet.Visible);

  Release(vbKeyReturn);
  while (form.bullet.Visible) Tick();
  Tick();
  EXPECT_EQ(form.bullet.Left, form.player1.Left);  // parked only once Enter reads up
  EXPECT_TRUE(form.sshoot.Visible);
}

TEST_F(FrameTickTest, TheBulletStrikesWhatItOverlapsOrTouchesOnSinglePrecisionSums) {
  struct Case {
    Twips left, top;  // of the dot; the bullet leaves from (1320, 1080)
    bool hit;
  };
  const Case cases[] = {
      {1320, 1080, true},         {1320 + 135, 1080, true},  {1320 + 136, 1080, false},
      {1320 - 135, 1080, true},   {1320 - 136, 1080, false}, {1320 + 135, 1080 + 135, true},
      {1320 - 135, 1080 - 136, false}, {1320 + 50, 1080 + 50, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "dot at " << c.left << ", " << c.top);
    form.Score.Caption = "0";
    OnlyDot(form.Picture6, c.left, c.top);
    FireFrom(1320, 1080);
    EXPECT_EQ(form.Score.Caption, c.hit ? "1" : "0");
  }

  // 121 - 2^-17 plus 135 rounds to 256 in single precision: the edges touch.
  form.Score.Caption = "0";
  OnlyDot(form.Picture6, 121.0f - std::ldexp(1.0f, -17), 1080);
  FireFrom(256, 1080);
  EXPECT_EQ(form.Score.Caption, "1");
}

TEST_F(FrameTickTest, EachHitReplacesItsDotAndCountsBeforeTheNextDotIsTested) {
  OnlyDot(form.Picture4, 1320, 1080);
  form.Picture7.Move(1400, 1100);
  // Picture4 lands on the bullet again (1325, 1085); Picture7 in the top band.
  Script({0.19f, 0.22f, 0.5f, 0.01f});
  FireFrom(1320, 1080);
  EXPECT_EQ(form.Score.Caption, "2");
  EXPECT_EQ(At(form.Picture4), Spot(1325, 1085));
  EXPECT_EQ(At(form.Picture7), Spot(3487, 200));
  EXPECT_EQ(random.taken, 4);

  // Struck again one tick later, after the six draws of the trail.
  Script({0, 0, 0, 0, 0, 0, 0.5f, 0.0203f});
  Tick();
  EXPECT_EQ(form.Score.Caption, "3");
  EXPECT_EQ(form.Picture4.Top, 100);  // exactly 100 stays
  EXPECT_EQ(random.taken, 12);
}

TEST_F(FrameTickTest, DotsSinkBeforeTheHitTests) {
  // Two ticks of sinking bring it from 900 to 1020, its bottom edge onto the
  // bullet's top edge at 1155, in the launch tick.
  OnlyDot(form.Picture8, 1320, 900);
  form.Picture8.BackColor = 0;
  form.Picture5.BackColor = 0;  // out of the way: sinks once a tick, flying or not
  FireFrom(1320, 1155);
  EXPECT_EQ(form.Score.Caption, "1");
  EXPECT_EQ(form.Picture5.Top, 4000 + 2 * 60);
}

TEST_F(FrameTickTest, EveryFlyingTickDrawsTwoMarksAtTheCornersWhereTheBulletStood) {
  front.Click(form.NewGame);
  FireFrom(1320, 1080);
  const Twips left = form.bullet.Left, top = form.bullet.Top;
  Script({0.99999994f, 0, 0.2f, 0.3f, 0.4f, 0.6f});
  Tick();
  const auto& marks = front.MarksOn(form.Back);
  ASSERT_EQ(marks.size(), 2u);
  const auto expect = [](const LineSegment& m, Twips x, Twips y1, Twips y2, Colour colour) {
    EXPECT_TRUE(m.x1 == x && m.x2 == x && m.y1 == y1 && m.y2 == y2 && m.colour == colour)
        << m.x1 << "," << m.y1 << " " << m.x2 << "," << m.y2 << " " << m.colour;
  };
  expect(marks[0], left, top - 5, top, RGB(254, 0, 51));
  expect(marks[1], left + 135, top + 130, top + 135, RGB(76, 102, 153));
  EXPECT_EQ(form.bullet.Top, top + 70);
}

TEST_F(FrameTickTest, ABlackDotNobodyStrikesRestsFarOutOfSight) {
  form.Picture4.BackColor = 0;
  form.Picture4.Top = kCoordinateLimit - 100;
  Tick(5);
  EXPECT_EQ(form.Picture4.Top, kCoordinateLimit);
}

}  // namespace
